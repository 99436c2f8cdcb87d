#pragma once

#include <array>
#include <memory>
#include <vector>

#include "lighting/shader.h"

class CTransformation;
class CStaticShadowVolume;
class RenderModel;

// Turns the static shadow volumes of the casters into a stencil mask per light, so the renderer adds a
// light's contribution only where the stencil is 0. Per frame: Init, the renderer's depth and ambient
// pass, BeginStencil, then per shadow-casting light i: clear the stencil (after the first light),
// BeginVolumes(i), DrawVolumes(i), BeginLitPass and the renderer's lit pass; finally EndStencil, which leaves
// the stencil writable for the next frame's clear.
class CStencilTechnique {
public:
    explicit CStencilTechnique(CTransformation* viewer) : viewer(viewer) {}
    virtual ~CStencilTechnique();
    CStencilTechnique(const CStencilTechnique&) = delete;
    CStencilTechnique& operator=(const CStencilTechnique&) = delete;

    void AddCaster(RenderModel* caster) { casters.push_back(caster); }
    void ClearCasters() { casters.clear(); }

    virtual void Init() = 0;
    virtual void BeginStencil();
    virtual void EndStencil();
    virtual void BeginVolumes(int light) = 0;
    virtual void BeginLitPass();
    // After the lit pass of a light: the pixels its shadow covers instead.
    void BeginShadowedPass();
    virtual void DrawVolumes(int light) = 0;
    virtual void RenderVolumes(int light) = 0;

    std::vector<RenderModel*> casters;  // not owned
    CTransformation* viewer;            // the race camera, not owned

    // The caster's volume for the light, or null when it has none.
    static CStaticShadowVolume* VolumeOf(RenderModel* caster, int light);

protected:
    // Builds the named program from its vertex shader and "SV.frag"; false (logged by the loader) on failure.
    bool BuildProgram(const char* name, const char* vertexFile);
    // Without two-sided stencil each volume is drawn twice, once per face with its own counting; with it
    // the per-face operations are set already and one draw does.
    struct OneSidedPass {
        unsigned cull;       // the face left out
        unsigned depthFail;  // stencil operation where the depth test fails
        unsigned depthPass;  // and where it passes
    };
    void CountVolumes(int light, const OneSidedPass& first, const OneSidedPass& second);
    void UseProgram() const;

    ShaderObject vertexShader;
    ShaderObject fragmentShader;
    std::unique_ptr<ShaderProgram> program;
};

// Depth-fail counting over capped volumes, with the far plane moved to infinity so no back cap is clipped.
class CZFailStencilTechnique : public CStencilTechnique {
public:
    using CStencilTechnique::CStencilTechnique;

    void Init() override;
    void BeginVolumes(int light) override;
    void DrawVolumes(int light) override;
    void RenderVolumes(int light) override;

private:
    bool programBuilt = false;
};

// Depth-pass counting, corrected at the near plane by first drawing the light-facing caps as the light
// sees them through the camera's near-plane rectangle.
class CZPPlusStencilTechnique : public CStencilTechnique {
public:
    using CStencilTechnique::CStencilTechnique;

    void Init() override;
    void BeginVolumes(int light) override;
    void DrawVolumes(int light) override;
    void RenderVolumes(int light) override;

    std::vector<std::array<float, 16>> capProjection;  // per scene light
    float cameraProjection[16] = {};
    float nearWidth = 0.0f;
    float nearHeight = 0.0f;

private:
    int projectionLocation = -1;
};
