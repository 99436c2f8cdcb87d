#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstring>

#include "data/settings.h"
#include "hud/bitmapfont.h"
#include "hud/draw2d.h"
#include "menus/mainmenu.h"
#include "menus/menu.h"
#include "menus/menupages.h"
#include "scene/glstate.h"
#include "scene/milkshape.h"
#include "scene/rendermodel.h"
#include "scene/texturemanager.h"

namespace {

const char* const kVersionNotice = "Zephyrace 1.0";

const MainMenuItem* ItemForMesh(const char* name) {
    for (const MainMenuItem& item : gMainMenuItems)
        if (strcmp(item.label, name) == 0)
            return &item;
    return nullptr;
}

}  // namespace

CMenuRenderer::CMenuRenderer(TextureManager* textures) : CRenderer(textures) {}

CMenuRenderer::~CMenuRenderer() {
    program.reset();
    for (ShaderObject* s : {&vertexShader, &fragmentShader})
        if (s->id)
            glDeleteShader(s->id);
}

void CMenuRenderer::BuildProgram() {
    vertexShader = LoadShader("pointlight.vert");
    fragmentShader = LoadShader("pointlight.frag");
    program = std::make_unique<ShaderProgram>("Menuprogram");
    program->Attach(&vertexShader);
    program->Attach(&fragmentShader);
    programLinked = program->Link();
    if (programLinked)
        program->SetSampler("tex", 0);
}

void CMenuRenderer::init() {
    if (!initialised) {
        rowFont = std::make_unique<CBitmapFont>(L"Arial", 24, 700);
        entryFont = std::make_unique<CBitmapFont>(L"Courier New", 50, 700);
        titleFont = MakeFont(L"Beware", 64, 400, 0.3f, 0.3f, 0.7f);
        BuildProgram();
        model = std::make_unique<CMilkshapeModel>();
        model->Load("..\\Models\\mainmenu.ms3d");
        ShowLoadingProgress(60);
        for (MsMaterial& m : model->materials)
            m.textureId = textures->Load(m.texture, true);
        logo = textures->Load("..\\Textures\\men_logo.jpg", true);
        sky = textures->Load("..\\Textures\\sky_desert_south.jpg", true);
        ShowLoadingProgress(100);
        initialised = true;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(gSettings.fieldOfView, double(gSettings.screenWidth) / double(gSettings.screenHeight),
                   gSettings.nearPlane, gSettings.farPlane);
    glMatrixMode(GL_MODELVIEW);
}

void CMenuRenderer::enter() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SetMenuLighting();
    glClearColor(0.1f, 0.1f, 0.5f, 0.0f);
    glClearDepth(1.0);
    glLoadIdentity();
    gluLookAt(-9.0, 4.0, 19.5, 0.0, 2.0, 0.0, 0.0, 1.0, 0.0);
}

void CMenuRenderer::leave() {}

void CMenuRenderer::DrawSky() const {
    BeginFlat(FLAT_PICTURE);
    DrawWindowPicture(sky);
    EndFlat();
}

void CMenuRenderer::DrawModel() const {
    for (const MsGroup& group : model->groups) {
        const MainMenuItem* item = ItemForMesh(group.name);
        // A page put away is not drawn at all: a turned entry would still reach into the view.
        if (item && item->offset[2] >= kMenuHiddenZ)
            continue;
        if (item) {
            glPushMatrix();
            glTranslatef(item->offset[0], item->offset[1], item->offset[2]);
            glRotatef(item->angle, 0.0f, 1.0f, 0.0f);
        }
        if (const MsMaterial* material = model->MaterialOf(group))
            ApplyMaterial(*material, GL_FRONT_AND_BACK);
        glBegin(GL_TRIANGLES);
        for (uint32_t t : group.triangleIndices) {
            const MsTriangle& tri = model->triangles[t];
            for (int k = 0; k < 3; k++) {
                glTexCoord2f(tri.s[k], -tri.t[k]);
                glNormal3fv(tri.vertexNormals[k]);
                glVertex3fv(model->vertices[tri.vertexIndices[k]].position);
            }
        }
        glEnd();
        if (item)
            glPopMatrix();
    }
}

void CMenuRenderer::DrawLogo() const {
    const float w = float(gSettings.screenWidth), h = float(gSettings.screenHeight);
    BeginFlat(FLAT_PICTURE);
    DrawPicture(logo, 0.82f * w, 0.0f, w, 0.12f * h, -0.5f, 0.0f);
    EndFlat();
}

void CMenuRenderer::DrawOverlay() const {
    const int w = gSettings.screenWidth, h = gSettings.screenHeight;
    BeginFlat(FLAT_SHAPES);
    if (gRequestedState == STATE_MAIN_MENU) {
        rowFont->SetColor(0.6f, 0.6f, 0.6f, 0.6f);
        rowFont->Print(kVersionNotice, 10, 10);
    } else {
        const PanelOrigin p = PanelFor(w, h);
        FillRect(p.x0, p.yTop - 480.0f, p.x0 + 640.0f, p.yTop, {0.0f, 0.0f, 0.0f, 0.6f});
        DrawMenuPage(gRequestedState, MenuPageFonts{rowFont.get(), entryFont.get(), titleFont.get()}, w, h);
    }
    EndFlat();
}

void CMenuRenderer::draw() {
    ClearFrame();
    DrawSky();
    // A program that failed to link leaves the entries to the fixed pipeline, lit by the same light.
    BeginModelPass();
    glUseProgram(programLinked ? program->id : 0);
    DrawModel();
    glUseProgram(0);
    EndModelPass();
    DrawLogo();
    DrawOverlay();
    glutSwapBuffers();
}
