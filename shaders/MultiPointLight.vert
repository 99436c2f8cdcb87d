// Lit scenery: passes the eye-space position and normal on for per-pixel point lights.
#version 120

varying vec3 eyePosition;
varying vec3 eyeNormal;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_FrontColor = gl_Color;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
