// As MultiPointLight.frag, faded into the track's fog by distance (exponential squared).
#version 120

uniform sampler2D baseTexture;
uniform vec4 fogColor;
uniform float fogDensity;

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
    vec4 lit = vec4(gl_Color.rgb * light * texel.rgb, gl_Color.a * texel.a);
    float depth = fogDensity * length(eyePosition);
    float visible = clamp(exp(-depth * depth), 0.0, 1.0);
    gl_FragColor = vec4(mix(fogColor.rgb, lit.rgb, visible), lit.a);
}
