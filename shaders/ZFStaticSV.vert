// Shadow volume geometry for depth-fail counting. ftransform gives exactly the depths of the scenery
// passes, so a front cap lying on its own surface always fails the depth test as it must.
#version 110

void main() {
    gl_Position = ftransform();
}
