#include "app/gl_state.h"

#include <GL/gl.h>

#include <cmath>

#include "app/settings.h"

#ifndef GL_LIGHT_MODEL_COLOR_CONTROL
#define GL_LIGHT_MODEL_COLOR_CONTROL 0x81F8
#endif
#ifndef GL_SEPARATE_SPECULAR_COLOR
#define GL_SEPARATE_SPECULAR_COLOR 0x81FA
#endif

namespace orv {

DisplayControl& CurrentDisplayControl() {
    static DisplayControl control;
    return control;
}

float GammaExponent(uint32_t gamma) {
    return static_cast<float>(1.0 - ((static_cast<double>(gamma) - 50.0) / 50.0) * 0.5);
}

GammaRampTable BuildGammaRamp(float red, float green, float blue) {
    GammaRampTable ramp{};
    const float exponents[3] = {red, green, blue};
    for (int c = 0; c < 3; ++c) {
        for (int k = 0; k < 256; ++k) {
            const double v = std::pow(k / 256.0, static_cast<double>(exponents[c])) * 65536.0;
            // A negative exponent (a stored Gamma above 300) would exceed the table's range.
            ramp[c * 256 + k] = static_cast<uint16_t>(v >= 65535.0 ? 65535.0 : v);
        }
    }
    return ramp;
}

bool SetGammaRamp(float red, float green, float blue) {
    const DisplayControl& display = CurrentDisplayControl();
    if (!display.setGammaRamp) return false;
    const GammaRampTable ramp = BuildGammaRamp(red, green, blue);
    return display.setGammaRamp(ramp.data());
}

bool InitOpenGL() {
    const Settings& s = CurrentSettings();
    const GLenum enabled[] = {GL_ALPHA_TEST, GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_LIGHT1,
                              GL_BLEND,      GL_TEXTURE_2D, GL_NORMALIZE};
    for (GLenum cap : enabled) glEnable(cap);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    glViewport(0, 0, static_cast<GLsizei>(s.width), static_cast<GLsizei>(s.height));
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    // A fixed 4:3 frustum whatever the window's proportions.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-53.333334922790527, 53.333334922790527, -40.0, 40.0, 80.0, 5000000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glDisable(GL_LIGHT0);

    const GLfloat ambient[] = {0.0f, 0.0f, 0.04f, 0.0f};
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);

    const GLfloat light1_position[] = {0.0f, 0.0f, 9100.0f, 1.0f};
    const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, light1_position);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_SPECULAR, white);

    const GLfloat black[] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat grey[] = {0.3f, 0.3f, 0.3f, 1.0f};
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, grey);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 3.0f);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 60.0f);
    glLightf(GL_LIGHT2, GL_LINEAR_ATTENUATION, 0.006f);

    const DisplayControl& display = CurrentDisplayControl();
    if (display.setSwapInterval) display.setSwapInterval(s.vsync ? 1 : 0);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glLineWidth(1.0f);
    glDisable(GL_LIGHT2);

    if (!s.defGamma) {
        const float e = GammaExponent(s.gamma);
        SetGammaRamp(e, e, e);
    }
    return true;
}

}  // namespace orv
