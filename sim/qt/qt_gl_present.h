// qt_gl_present.h -- the OpenGL present: the 640 x 480 frame uploaded as a
// texture and drawn into the picture rectangle with the nearest mapping of
// the software path, so the CPU's share no longer grows with the screen.
#pragma once
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QOpenGLContext;
class QOpenGLShaderProgram;
class QSurface;
class QSurfaceFormat;

namespace platform {

// One context with the program and the texture it draws with.
struct GlPresenter {
    std::unique_ptr<QOpenGLContext> context;
    std::unique_ptr<QOpenGLShaderProgram> program;
    unsigned texture = 0;
    QSize texture_size;          // of the texture's storage
    std::vector<uint32_t> widened;   // the frame as 0xFFRRGGBB, kept for the next frame
    QString renderer;            // GL_RENDERER, for the trace log
    GlPresenter();
    ~GlPresenter();
};

// Makes the context and, current on a small offscreen surface, the program
// and the texture: whether this machine can present through OpenGL at all.
// On failure returns false with the reason in `why` and leaves `gl` empty.
bool gl_prepare(GlPresenter& gl, QString& why);

// Whether `renderer` (a GL_RENDERER text) names one of Mesa's rasterisers
// that run on the CPU: presenting through it costs more CPU than the
// software path, so an automatic choice does not take it.
bool renders_on_cpu(const QString& renderer);

// The surface format a window must have to be drawn by `gl`.
QSurfaceFormat gl_window_format(const GlPresenter& gl);

// Draws `frame` (Format_RGB16; null draws
// black) into `picture` of a window whose drawable is `pixels` in size,
// black around it, and swaps. Target pixel (x, y) of the picture shows
// frame pixel (x * 640 / picture width, y * 480 / picture height) rounded
// down, as the software path does. Returns false with the reason in `why`
// when the context cannot be made current on `window` or the frame cannot
// be uploaded.
bool gl_present(GlPresenter& gl, QSurface& window, QSize pixels, QRect picture, const QImage& frame,
                QString& why);

// Frees the program, texture and context (idempotent).
void gl_release(GlPresenter& gl);

}  // namespace platform
