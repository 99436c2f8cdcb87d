#version 120
#ifndef LAMP_SLOTS
#define LAMP_SLOTS 4
#endif
uniform sampler2D tex;
// lightZeroOnly 1: a later shadow-casting light's pass, which adds light 0 alone to what the first passes
// drew. Compiled with LAMP_SLOTS n where only lights 1 to n are ever lit (0: no lamps).
uniform float lightZeroOnly;
varying vec3 eyePosition;
varying vec3 eyeNormal;
varying vec3 lightZeroColour;

void main()
{
    vec3 colour = lightZeroColour;
    if (lightZeroOnly == 0.0) {
        colour += gl_FrontLightModelProduct.sceneColor.rgb;
#if LAMP_SLOTS > 0
        vec3 n = normalize(eyeNormal);
        for (int i = 1; i <= LAMP_SLOTS; ++i) {
            vec3 toLight = gl_LightSource[i].position.xyz - eyePosition;
            float d = length(toLight);
            float reach = 1.0 / (gl_LightSource[i].constantAttenuation + gl_LightSource[i].linearAttenuation * d);
            colour += reach * max(dot(n, toLight / max(d, 1e-4)), 0.0) * gl_FrontMaterial.diffuse.rgb *
                      gl_LightSource[i].diffuse.rgb;
        }
#endif
    }
    colour = min(colour, 1.0);  // as fixed-function lighting clamps before texturing
    gl_FragColor = vec4(colour, gl_FrontMaterial.diffuse.a) * texture2D(tex, gl_TexCoord[0].st);
}
