#include "flash/sound_mp3.h"

#ifndef _WIN32
#include <mpg123.h>
#endif

namespace flash {

namespace {

#ifndef _WIN32
bool DecodeWithMpg123(const uint8_t* data, size_t size, Mp3Pcm& pcm) {
    static const bool initialised = mpg123_init() == MPG123_OK;
    if (!initialised || size == 0) return false;
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (!handle) return false;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(handle);
    for (long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
        mpg123_format(handle, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    bool ok = mpg123_open_feed(handle) == MPG123_OK;
    if (ok) {
        unsigned char buffer[16384];
        size_t done = 0;
        int result = mpg123_decode(handle, data, size, buffer, sizeof(buffer), &done);
        while (true) {
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0, encoding = 0;
                mpg123_getformat(handle, &rate, &channels, &encoding);
                // A change of format part way is not followed: keep the first.
                if (pcm.rate == 0) {
                    pcm.rate = static_cast<int>(rate);
                    pcm.channels = channels;
                }
            }
            if (done > 0 && pcm.channels > 0) {
                const int16_t* samples = reinterpret_cast<const int16_t*>(buffer);
                pcm.samples.insert(pcm.samples.end(), samples, samples + done / 2);
            }
            if (result == MPG123_ERR || result == MPG123_NEED_MORE || result == MPG123_DONE) break;
            result = mpg123_decode(handle, nullptr, 0, buffer, sizeof(buffer), &done);
        }
    }
    mpg123_delete(handle);
    return pcm.channels > 0 && !pcm.samples.empty();
}

Mp3Decoder g_decoder = DecodeWithMpg123;
#else
Mp3Decoder g_decoder = nullptr;
#endif

}  // namespace

void SetMp3Decoder(Mp3Decoder decoder) { g_decoder = decoder; }

bool DecodeMp3(const uint8_t* data, size_t size, Mp3Pcm& pcm) {
    pcm = Mp3Pcm{};
    return g_decoder && data && g_decoder(data, size, pcm);
}

}  // namespace flash
