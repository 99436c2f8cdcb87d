#version 120
// Scenery lit per pixel by GL lights 1 to 4. Each light's position comes as a direction (w = 0) from the
// viewer to the light, which the model-view matrix has turned into the light's eye-space position.
varying vec3 eyePosition;
varying vec3 eyeNormal;

void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FogFragCoord = abs(eye.z);
    gl_Position = ftransform();
}
