#version 120
// Light 0 as the fixed pipeline would light it (directional when w = 0), but per pixel, times the texture.
uniform sampler2D tex;
varying vec3 eyePosition;
varying vec3 eyeNormal;

void main()
{
    vec3 n = normalize(eyeNormal);
    vec4 p = gl_LightSource[0].position;
    vec3 toLight = p.w == 0.0 ? normalize(p.xyz) : normalize(p.xyz - eyePosition);
    float reach = 1.0;
    if (p.w != 0.0) {
        float d = length(p.xyz - eyePosition);
        reach = 1.0 / (gl_LightSource[0].constantAttenuation + gl_LightSource[0].linearAttenuation * d +
                       gl_LightSource[0].quadraticAttenuation * d * d);
    }
    float facing = max(dot(n, toLight), 0.0);
    vec3 halfway = normalize(toLight + normalize(-eyePosition));
    float shine = facing > 0.0 ? pow(max(dot(n, halfway), 1e-4), gl_FrontMaterial.shininess) : 0.0;
    vec4 colour = gl_FrontLightModelProduct.sceneColor + gl_FrontLightProduct[0].ambient +
                  reach * (facing * gl_FrontLightProduct[0].diffuse + shine * gl_FrontLightProduct[0].specular);
    colour.a = gl_FrontMaterial.diffuse.a;
    gl_FragColor = colour * texture2D(tex, gl_TexCoord[0].st);
}
