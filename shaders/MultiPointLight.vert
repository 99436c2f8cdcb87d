#version 120
// Scenery lit per pixel by GL lights 1 to 4. Each light's position comes as a direction (w = 0) from the
// viewer to the light, which the model-view matrix has turned into the light's eye-space position.
varying vec3 eyePosition;
varying vec3 eyeNormal;
// lightZero 1: light 0 (the shadow-casting light of a lit pass) reaches here, lit as fixed-function
// lighting lights a corner: directional, no local viewer.
uniform float lightZero;
varying vec3 lightZeroColour;

void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    lightZeroColour = vec3(0.0);
    if (lightZero != 0.0) {
        vec3 n = normalize(eyeNormal);
        vec3 l = normalize(gl_LightSource[0].position.xyz);
        float facing = dot(n, l);
        lightZeroColour = gl_FrontLightProduct[0].ambient.rgb + max(facing, 0.0) * gl_FrontLightProduct[0].diffuse.rgb;
        if (facing > 0.0)
            lightZeroColour += pow(max(dot(n, normalize(l + vec3(0.0, 0.0, 1.0))), 0.0), gl_FrontMaterial.shininess) *
                               gl_FrontLightProduct[0].specular.rgb;
    }
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FogFragCoord = abs(eye.z);
    gl_Position = ftransform();
}
