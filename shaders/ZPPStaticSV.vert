// Shadow volume geometry for depth-pass counting: the same vertices go through the camera's projection
// for the sides and through the projection from the light for the near-plane caps.
#version 110

uniform mat4 projectionMatrix;

void main() {
    gl_Position = projectionMatrix * (gl_ModelViewMatrix * gl_Vertex);
}
