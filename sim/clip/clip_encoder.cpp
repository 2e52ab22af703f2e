// clip_encoder.cpp -- animated WebP encoding of copied frames, and the temporary-then-rename file write.
#include "sim/clip/clip_encoder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include <webp/encode.h>
#include <webp/mux.h>

#include "sim/platform/frame.h"

namespace clip {

struct Animation {
    WebPAnimEncoder* encoder = nullptr;
    WebPPicture picture{};  // one converted frame
};

namespace {

void set_reason(Reason& reason, const char* text) {
    std::snprintf(reason.text, sizeof reason.text, "%s", text);
}

// The encoder's own message when it gives one, else `fallback`.
void set_encoder_reason(Reason& reason, Animation* animation, const char* fallback) {
    const char* message = animation && animation->encoder ? WebPAnimEncoderGetError(animation->encoder) : nullptr;
    set_reason(reason, message && message[0] ? message : fallback);
}

}  // namespace

int encoder_open(Encoder& encoder, const EncodeSettings& settings, Reason& reason) {
    encoder_close(encoder);
    encoder.settings = settings;
    encoder.frames = 0;
    encoder.last_timestamp_ms = -1;

    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) {
        set_reason(reason, "the WebP library does not match its headers");
        return 0;
    }
    options.anim_params.loop_count = 0;           // loop forever
    options.anim_params.bgcolor = 0xFF000000u;    // opaque black
    options.allow_mixed = 0;
    // Key frames now and then keep seeking in a player cheap; a fixed
    // pattern (kmin one below kmax) spares the encoder from encoding every
    // frame both ways while it decides.
    options.kmax = 60;
    options.kmin = 59;
    encoder.animation = new (std::nothrow) Animation;
    if (encoder.animation) encoder.animation->encoder = WebPAnimEncoderNew(frame_width, frame_height, &options);
    if (!encoder.animation || !encoder.animation->encoder) {
        set_reason(reason, "out of memory");
        encoder_close(encoder);
        return 0;
    }
    WebPPicture& picture = encoder.animation->picture;
    if (!WebPPictureInit(&picture)) {
        set_reason(reason, "the WebP library does not match its headers");
        encoder_close(encoder);
        return 0;
    }
    picture.use_argb = 1;
    picture.width = frame_width;
    picture.height = frame_height;
    if (!WebPPictureAlloc(&picture)) {
        set_reason(reason, "out of memory");
        encoder_close(encoder);
        return 0;
    }
    return 1;
}

int encoder_add(Encoder& encoder, const uint16_t* frame, long timestamp_ms, Reason& reason) {
    if (!encoder.animation) {
        set_reason(reason, "the encoder is not open");
        return 0;
    }
    if (timestamp_ms <= encoder.last_timestamp_ms) {
        set_reason(reason, "frame times must increase");
        return 0;
    }
    WebPPicture& picture = encoder.animation->picture;
    for (int y = 0; y < frame_height; ++y) {
        const uint16_t* from = frame + size_t(y) * frame_width;
        uint32_t* to = picture.argb + size_t(y) * size_t(picture.argb_stride);
        for (int x = 0; x < frame_width; ++x) {
            uint32_t red, green, blue;
            platform::unpack_565(from[x], red, green, blue);
            to[x] = 0xFF000000u | red << 16 | green << 8 | blue;
        }
    }
    WebPConfig config;
    if (!WebPConfigInit(&config)) {
        set_reason(reason, "the WebP library does not match its headers");
        return 0;
    }
    config.lossless = encoder.settings.lossless;
    config.quality = encoder.settings.quality;
    config.method = encoder.settings.method;
    if (!WebPValidateConfig(&config)) {
        set_reason(reason, "unusable clip quality settings");
        return 0;
    }
    if (!WebPAnimEncoderAdd(encoder.animation->encoder, &picture, int(timestamp_ms), &config)) {
        set_encoder_reason(reason, encoder.animation, "a frame could not be encoded");
        return 0;
    }
    ++encoder.frames;
    encoder.last_timestamp_ms = timestamp_ms;
    return 1;
}

int encoder_finish(Encoder& encoder, long end_timestamp_ms, std::vector<uint8_t>& out, Reason& reason) {
    out.clear();
    if (!encoder.animation || encoder.frames == 0) {
        set_reason(reason, "no frames were recorded");
        return 0;
    }
    if (end_timestamp_ms <= encoder.last_timestamp_ms) {
        set_reason(reason, "the clip ends before its last frame");
        return 0;
    }
    WebPData data;
    WebPDataInit(&data);
    int ok = WebPAnimEncoderAdd(encoder.animation->encoder, nullptr, int(end_timestamp_ms), nullptr) &&
             WebPAnimEncoderAssemble(encoder.animation->encoder, &data);
    if (ok) {
        try {
            out.assign(data.bytes, data.bytes + data.size);
        } catch (const std::bad_alloc&) {
            ok = 0;
        }
    }
    if (!ok) set_encoder_reason(reason, encoder.animation, "the clip could not be assembled");
    WebPDataClear(&data);
    return ok;
}

void encoder_close(Encoder& encoder) {
    if (!encoder.animation) return;
    if (encoder.animation->encoder) WebPAnimEncoderDelete(encoder.animation->encoder);
    WebPPictureFree(&encoder.animation->picture);
    delete encoder.animation;
    encoder.animation = nullptr;
}

int write_and_rename(int fd, const char* temporary_path, const char* final_path,
                     const uint8_t* data, size_t size, Reason& reason) {
    int error = 0;
    size_t written = 0;
    while (written < size && error == 0) {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n > 0) written += size_t(n);
        else if (n < 0 && errno == EINTR) continue;
        else error = n < 0 ? errno : ENOSPC;
    }
    // The bytes must be on the disk before the name points at them.
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary_path, final_path) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary_path);
        set_reason(reason, std::strerror(error));
        return 0;
    }
    return 1;
}

}  // namespace clip
