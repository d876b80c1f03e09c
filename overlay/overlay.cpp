#include "overlay/overlay.h"

#include <GL/gl.h>

#include <cstdio>

#include "app/settings.h"
#include "scene/resource_links.h"

namespace orv {
namespace {

constexpr int kGlyphCount = 13;
constexpr float kGlyphSize = 40.0f;
constexpr float kGlyphAdvance = 28.0f;  // 0.7 of a glyph

GLuint g_first_glyph = 0;
uint32_t g_atlas = 0;
uint32_t g_load_image = 0;
uint32_t g_sign_image = 0;

void Begin2D(double width, double height) {
    const Settings& s = CurrentSettings();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glViewport(0, 0, static_cast<GLsizei>(s.width), static_cast<GLsizei>(s.height));
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void End2D() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

void CentredQuad(float cx, float cy, float hw, float hh) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(cx - hw, cy - hh);
    glTexCoord2f(1, 0);
    glVertex2f(cx + hw, cy - hh);
    glTexCoord2f(1, 1);
    glVertex2f(cx + hw, cy + hh);
    glTexCoord2f(0, 1);
    glVertex2f(cx - hw, cy + hh);
    glEnd();
}

void AppendTwoDigits(std::string& text, int value, const char* suffix) {
    char buf[16];
    std::snprintf(buf, sizeof buf, value < 10 ? "0%d%s" : "%d%s", value, suffix);
    text += buf;
}

}  // namespace

void BeginOverlay2D() { Begin2D(800.0, 600.0); }
void EndOverlay2D() { End2D(); }

void BeginPixel2D() {
    const Settings& s = CurrentSettings();
    Begin2D(s.width, s.height);
}
void EndPixel2D() { End2D(); }

void BuildDigitGlyphs() {
    g_atlas = 0;
    FindTextureId("textures\\c.jpg", &g_atlas);
    if (g_first_glyph == 0) g_first_glyph = glGenLists(kGlyphCount);
    if (g_first_glyph == 0) return;
    glBindTexture(GL_TEXTURE_2D, g_atlas);
    for (int i = 0; i < kGlyphCount; ++i) {
        const float u = static_cast<float>(i % 4) / 4.0f;
        const float v = static_cast<float>(i / 4) / 4.0f;
        glNewList(g_first_glyph + i, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(u, 1 - v - 0.25f);
        glVertex2f(0, 0);
        glTexCoord2f(u + 0.25f, 1 - v - 0.25f);
        glVertex2f(kGlyphSize, 0);
        glTexCoord2f(u + 0.25f, 1 - v);
        glVertex2f(kGlyphSize, kGlyphSize);
        glTexCoord2f(u, 1 - v);
        glVertex2f(0, kGlyphSize);
        glEnd();
        glTranslatef(kGlyphAdvance, 0, 0);
        glEndList();
    }
}

void DrawDigits(int32_t x, int32_t y, const char* text) {
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0);
    if (g_first_glyph == 0) return;
    for (const char* p = text; *p; ++p) {
        // Only the 13 glyph characters have lists; anything else would call an unrelated list.
        const int cell = *p - '0';
        if (cell < 0 || cell >= kGlyphCount) continue;
        glCallList(g_first_glyph + cell);
    }
}

std::string ClockText(int hour, int minute, int second, bool twelve_hour) {
    bool after_noon = hour == 12;
    if (twelve_hour) {
        if (hour == 0) {
            hour = 12;
        } else if (hour > 12) {
            hour -= 12;
            after_noon = true;
        }
    }
    std::string text;
    AppendTwoDigits(text, hour, ":");
    AppendTwoDigits(text, minute, ":");
    AppendTwoDigits(text, second, "");
    if (twelve_hour) text += after_noon ? "<" : ";";
    return text;
}

void DrawClock(int hour, int minute, int second, bool twelve_hour) {
    BeginOverlay2D();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_ALWAYS, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, g_atlas);
    glColor4f(1, 1, 1, 1);
    const std::string text = ClockText(hour, minute, second, twelve_hour);
    glEnable(GL_BLEND);
    DrawDigits(525, 2, text.c_str());
    EndOverlay2D();
}

void DrawFrameRate(int32_t count) {
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, g_atlas);
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(count));
    DrawDigits(4, 558, text);
}

void LoadLoadingImages() {
    g_load_image = LoadStandaloneImage("load.jpg");
    g_sign_image = LoadStandaloneImage("sign.jpg");
}

void DrawLoadingScreen() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, g_sign_image);
    BeginOverlay2D();
    glColor4f(1, 1, 1, 1);
    CentredQuad(400, 350, 110, 110);
    glBindTexture(GL_TEXTURE_2D, g_load_image);
    CentredQuad(400, 140, 100, 100);
    EndOverlay2D();
}

}  // namespace orv
