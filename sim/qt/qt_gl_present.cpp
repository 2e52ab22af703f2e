// qt_gl_present.cpp -- the frame as a texture, drawn by a shader that maps
// window pixels to frame pixels with integer-exact nearest arithmetic.
#include "sim/qt/qt_gl_present.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QSurfaceFormat>

namespace platform {

namespace {

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
uniform float swap_red_blue;

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
    vec3 c = texture2D(frame, (s + 0.5) / source_size).rgb;
    gl_FragColor = vec4(mix(c, c.bgr, swap_red_blue), 1.0);
}
)";

const float quad[] = {-1.f, -1.f, 1.f, -1.f, -1.f, 1.f, 1.f, 1.f};

// How a frame format goes to the GPU; false for formats it cannot take.
// Format_BGR888 and Format_RGB32 arrive with red and blue exchanged (the
// shader swaps them back), so the upload needs no desktop-only enums.
struct Upload {
    unsigned format = 0, type = 0;
    int bytes_per_pixel = 0;
    float swap_red_blue = 0.f;
};

bool upload_for(QImage::Format f, Upload& u) {
    if (f == QImage::Format_RGB16) {
        u = Upload{GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, 0.f};
    } else if (f == QImage::Format_BGR888) {
        u = Upload{GL_RGB, GL_UNSIGNED_BYTE, 3, 1.f};
    } else if (f == QImage::Format_RGB32) {
        u = Upload{GL_RGBA, GL_UNSIGNED_BYTE, 4, 1.f};
    } else {
        return false;
    }
    return true;
}

bool make_program(GlPresenter& gl, QString& why) {
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertex_source) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment_source)) {
        why = QStringLiteral("the shaders did not compile: ") + program->log().trimmed();
        return false;
    }
    program->bindAttributeLocation("corner", 0);
    if (!program->link()) {
        why = QStringLiteral("the shader program did not link: ") + program->log().trimmed();
        return false;
    }
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

// Uploads `frame` into the texture, making its storage when size or format
// changed. Rows are sent one by one only if the image has padding.
bool upload_frame(GlPresenter& gl, const QImage& frame, float& swap_red_blue) {
    Upload u;
    if (!upload_for(frame.format(), u)) return false;
    QOpenGLFunctions* f = gl.context->functions();
    f->glBindTexture(GL_TEXTURE_2D, gl.texture);
    const int w = frame.width(), h = frame.height();
    if (gl.texture_size != frame.size() || gl.texture_format != frame.format()) {
        f->glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(u.format), w, h, 0, u.format, u.type, nullptr);
        gl.texture_size = frame.size();
        gl.texture_format = frame.format();
    }
    const qsizetype row_bytes = static_cast<qsizetype>(w) * u.bytes_per_pixel;
    f->glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (frame.bytesPerLine() == row_bytes) {
        f->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, u.format, u.type, frame.constBits());
    } else {
        for (int y = 0; y < h; ++y)
            f->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, w, 1, u.format, u.type, frame.constScanLine(y));
    }
    swap_red_blue = u.swap_red_blue;
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
    // One upload proves the texture formats the frames come in.
    QImage test_frame(640, 480, QImage::Format_RGB16);
    test_frame.fill(0);
    float swap = 0.f;
    if (!upload_frame(gl, test_frame, swap)) {
        why = QStringLiteral("a 5-6-5 texture could not be uploaded");
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
    float swap_red_blue = 0.f;
    if (!frame.isNull() && !picture.isEmpty()) {
        if (!upload_frame(gl, frame, swap_red_blue)) {
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
        gl.program->setUniformValue("swap_red_blue", swap_red_blue);
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
    gl.texture_format = 0;
    gl.renderer.clear();
    gl.context.reset();
}

}  // namespace platform
