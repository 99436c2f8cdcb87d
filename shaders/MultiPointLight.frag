// Scene ambient plus GL lights 1 to 4 as point lights. The game hands each light's position over as a
// direction from the viewer (w = 0); in eye space that is the light's position relative to the eye.
#version 120

uniform sampler2D baseTexture;

varying vec3 eyePosition;
varying vec3 eyeNormal;

vec3 PointLight(int i, vec3 normal) {
    vec3 toLight = gl_LightSource[i].position.xyz - eyePosition;
    float distance = length(toLight);
    float facing = max(dot(normal, toLight / max(distance, 0.0001)), 0.0);
    float attenuation = 1.0 / max(gl_LightSource[i].constantAttenuation +
                                  gl_LightSource[i].linearAttenuation * distance, 0.0001);
    return gl_LightSource[i].diffuse.rgb * facing * attenuation;
}

void main() {
    vec3 normal = normalize(eyeNormal);
    vec3 light = gl_LightModel.ambient.rgb;
    for (int i = 1; i <= 4; ++i)
        light += PointLight(i, normal);
    vec4 texel = texture2D(baseTexture, gl_TexCoord[0].st);
    gl_FragColor = vec4(gl_Color.rgb * light * texel.rgb, gl_Color.a * texel.a);
}
