// qt_gl_present.cpp -- the frame as a texture, drawn by a shader that maps
// window pixels to frame pixels with integer-exact nearest arithmetic.
#include "sim/qt/qt_gl_present.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QSurfaceFormat>

#include "sim/qt/qt_scale.h"

namespace platform {

namespace {

// Both shaders are compiled as GLSL 1.30 where the driver takes it (an
// integer texel fetch is much cheaper than a sampled lookup on CPU
// rasterisers), else as GLSL 1.00 / 1.10.
const char* const version_130 = "#version 130\n";

const char* const vertex_source = R"(
attribute vec2 corner;
void main() { gl_Position = vec4(corner, 0.0, 1.0); }
)";

// gl_FragCoord is the centre of a window pixel, counted from the bottom.
// The texel is chosen from the pixel's integer position exactly as the
// software path chooses its source pixel: floor(x * source / target). The
// quotient is estimated in floating point and then corrected with exact
// products (every value stays an integer below 2^24), so no GPU division
// rounding can move a pixel to its neighbour.
const char* const fragment_source = R"(
#ifdef GL_ES
precision highp float;
#endif
uniform sampler2D frame;
uniform vec2 picture_origin;   // left column, top row (rows counted downwards)
uniform vec2 picture_size;
uniform vec2 source_size;
uniform float window_height;

float source_index(float target, float target_length, float source_length) {
    float n = target * source_length;
    float q = floor((n + 0.5) / target_length);
    if (q * target_length > n) q -= 1.0;
    else if ((q + 1.0) * target_length <= n) q += 1.0;
    return q;
}

void main() {
    float x = floor(gl_FragCoord.x) - picture_origin.x;
    float y = (window_height - 1.0 - floor(gl_FragCoord.y)) - picture_origin.y;
    vec2 s = vec2(source_index(x, picture_size.x, source_size.x),
                  source_index(y, picture_size.y, source_size.y));
#if __VERSION__ >= 130
    vec4 t = texelFetch(frame, ivec2(s), 0);
#else
    vec4 t = texture2D(frame, (s + 0.5) / source_size);
#endif
    // The texels hold 0xFFRRGGBB words, whose bytes are blue, green, red.
    gl_FragColor = vec4(t.bgr, 1.0);
}
)";

const float quad[] = {-1.f, -1.f, 1.f, -1.f, -1.f, 1.f, 1.f, 1.f};

// The program in one GLSL version (`version` prepended to both sources), or
// null with the compiler's complaint in `why`.
std::unique_ptr<QOpenGLShaderProgram> compile_program(const char* version, QString& why) {
    auto program = std::make_unique<QOpenGLShaderProgram>();
    const QByteArray v(version);
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, v + vertex_source) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, v + fragment_source)) {
        why = QStringLiteral("the shaders did not compile: ") + program->log().trimmed();
        return nullptr;
    }
    program->bindAttributeLocation("corner", 0);
    if (!program->link()) {
        why = QStringLiteral("the shader program did not link: ") + program->log().trimmed();
        return nullptr;
    }
    return program;
}

bool make_program(GlPresenter& gl, QString& why) {
    auto program = compile_program(version_130, why);
    if (!program) program = compile_program("", why);
    if (!program) return false;
    gl.program = std::move(program);
    QOpenGLFunctions* f = gl.context->functions();
    f->glGenTextures(1, &gl.texture);
    f->glBindTexture(GL_TEXTURE_2D, gl.texture);
    // Texel centres are sampled exactly; nearest keeps it from blending.
    f->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    f->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    f->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    f->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return true;
}

// Uploads `frame` into the texture, widened on the CPU exactly as the
// software path widens it (drivers widen 5- and 6-bit fields in different
// ways), as 8-bit channels every driver takes. The texture's storage is made
// when the frame size changes.
bool upload_frame(GlPresenter& gl, const QImage& frame) {
    if (!can_scale_into(frame, QImage(1, 1, QImage::Format_RGB32))) return false;
    const int w = frame.width(), h = frame.height();
    gl.widened.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        widen_row(frame.constScanLine(y), w, gl.widened.data() + static_cast<size_t>(y) * w);
    QOpenGLFunctions* f = gl.context->functions();
    f->glBindTexture(GL_TEXTURE_2D, gl.texture);
    f->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (gl.texture_size != frame.size()) {
        f->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        gl.texture_size = frame.size();
    }
    f->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, gl.widened.data());
    return f->glGetError() == GL_NO_ERROR;
}

}  // namespace

GlPresenter::GlPresenter() = default;
GlPresenter::~GlPresenter() { gl_release(*this); }

bool gl_prepare(GlPresenter& gl, QString& why) {
    gl_release(gl);
    auto context = std::make_unique<QOpenGLContext>();
    if (!context->create()) {
        why = QStringLiteral("no OpenGL context could be made");
        return false;
    }
    QOffscreenSurface probe;
    probe.setFormat(context->format());
    probe.create();
    if (!probe.isValid() || !context->makeCurrent(&probe)) {
        why = QStringLiteral("the OpenGL context could not be made current");
        return false;
    }
    gl.context = std::move(context);
    gl.renderer = QString::fromLatin1(
        reinterpret_cast<const char*>(gl.context->functions()->glGetString(GL_RENDERER)));
    if (!make_program(gl, why)) {
        gl_release(gl);
        return false;
    }
    // One upload proves the texture takes a frame.
    QImage test_frame(640, 480, QImage::Format_RGB16);
    test_frame.fill(0);
    if (!upload_frame(gl, test_frame)) {
        why = QStringLiteral("a frame could not be uploaded as a texture");
        gl_release(gl);
        return false;
    }
    gl.context->doneCurrent();
    return true;
}

bool renders_on_cpu(const QString& renderer) {
    static const char* const names[] = {"llvmpipe", "softpipe", "swrast", "software rasterizer"};
    for (const char* name : names)
        if (renderer.contains(QLatin1String(name), Qt::CaseInsensitive)) return true;
    return false;
}

QSurfaceFormat gl_window_format(const GlPresenter& gl) {
    return gl.context ? gl.context->format() : QSurfaceFormat::defaultFormat();
}

bool gl_present(GlPresenter& gl, QSurface& window, QSize pixels, QRect picture, const QImage& frame,
                QString& why) {
    if (!gl.context || !gl.program) {
        why = QStringLiteral("OpenGL is not prepared");
        return false;
    }
    if (!gl.context->makeCurrent(&window)) {
        why = QStringLiteral("the OpenGL context could not be made current on the window");
        return false;
    }
    QOpenGLFunctions* f = gl.context->functions();
    f->glViewport(0, 0, pixels.width(), pixels.height());
    f->glDisable(GL_SCISSOR_TEST);
    f->glDisable(GL_BLEND);
    f->glDisable(GL_DEPTH_TEST);
    f->glClearColor(0.f, 0.f, 0.f, 1.f);
    f->glClear(GL_COLOR_BUFFER_BIT);
    if (!frame.isNull() && !picture.isEmpty()) {
        if (!upload_frame(gl, frame)) {
            why = QStringLiteral("the frame could not be uploaded as a texture");
            return false;
        }
        // The quad covers exactly the picture rectangle (GL counts rows from
        // the bottom); the shader works from window positions.
        f->glViewport(picture.left(), pixels.height() - picture.top() - picture.height(), picture.width(),
                      picture.height());
        gl.program->bind();
        gl.program->setUniformValue("frame", 0);
        gl.program->setUniformValue("picture_origin", QPointF(picture.left(), picture.top()));
        gl.program->setUniformValue("picture_size", QSizeF(picture.size()));
        gl.program->setUniformValue("source_size", QSizeF(frame.size()));
        gl.program->setUniformValue("window_height", static_cast<GLfloat>(pixels.height()));
        f->glActiveTexture(GL_TEXTURE0);
        f->glBindTexture(GL_TEXTURE_2D, gl.texture);
        f->glBindBuffer(GL_ARRAY_BUFFER, 0);
        f->glEnableVertexAttribArray(0);
        f->glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, quad);
        f->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        f->glDisableVertexAttribArray(0);
        gl.program->release();
    }
    gl.context->swapBuffers(&window);
    return true;
}

void gl_release(GlPresenter& gl) {
    if (!gl.context) {
        gl.program.reset();
        return;
    }
    // Objects of a context are freed while it is current on something.
    QOffscreenSurface surface;
    surface.setFormat(gl.context->format());
    surface.create();
    if (gl.context->makeCurrent(&surface)) {
        if (gl.texture != 0) gl.context->functions()->glDeleteTextures(1, &gl.texture);
        gl.program.reset();
        gl.context->doneCurrent();
    }
    gl.program.reset();
    gl.texture = 0;
    gl.texture_size = QSize();
    gl.renderer.clear();
    gl.context.reset();
}

}  // namespace platform
