// Shadow volumes only count in the stencil buffer; colour writes are off while they are drawn.
#version 110

void main() {
    gl_FragColor = vec4(0.0);
}
