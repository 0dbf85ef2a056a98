#include "flash/wave_output_win.h"

#include "flash/sound_mp3.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <thread>
#include <vector>

namespace flash {

bool DecodeMp3WithAcm(const uint8_t* data, size_t size, Mp3Pcm& pcm);

namespace {

// Four buffers of 50 ms each: enough ahead that a busy GUI thread never
// starves the device, little enough that a jump is heard at once.
constexpr int kBuffers = 4;
constexpr DWORD kFramesPerBuffer = SoundMixer::kRate / 20;

class WaveOutput : public SoundOutput {
public:
    ~WaveOutput() override { Stop(); }

    bool Start(SoundMixer& mixer) override {
        Stop();
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 2;
        format.nSamplesPerSec = SoundMixer::kRate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 4;
        format.nAvgBytesPerSec = SoundMixer::kRate * 4;
        event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (!event_) return false;
        if (waveOutOpen(&device_, 0, &format, reinterpret_cast<DWORD_PTR>(event_), 0, CALLBACK_EVENT) !=
            MMSYSERR_NOERROR) {
            device_ = nullptr;
            CloseHandle(event_);
            event_ = nullptr;
            return false;
        }
        mixer_ = &mixer;
        mixer_->SetLatency(kBuffers * kFramesPerBuffer);
        stopping_ = false;
        thread_ = std::thread([this] { Run(); });
        return true;
    }

    void Stop() override {
        if (!device_) return;
        stopping_ = true;
        SetEvent(event_);
        if (thread_.joinable()) thread_.join();
        waveOutReset(device_);
        for (Buffer& buffer : buffers_)
            if (buffer.header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(device_, &buffer.header, sizeof(WAVEHDR));
        waveOutClose(device_);
        CloseHandle(event_);
        device_ = nullptr;
        event_ = nullptr;
        mixer_->SetLatency(0);
        mixer_ = nullptr;
    }

private:
    struct Buffer {
        WAVEHDR header{};
        std::vector<int16_t> samples;
    };

    // Refills every buffer the device has given back; a device that fails
    // ends the thread and the movie goes on silently.
    void Run() {
        for (Buffer& buffer : buffers_) {
            buffer.samples.assign(kFramesPerBuffer * 2, 0);
            buffer.header = WAVEHDR{};
            buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
            buffer.header.dwBufferLength = kFramesPerBuffer * 4;
            if (waveOutPrepareHeader(device_, &buffer.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return;
            buffer.header.dwFlags |= WHDR_DONE;
        }
        // A device that hands its buffers back faster than it could play
        // them (a driver without hardware) is fed no faster than the clock,
        // so that the sound, and the picture that follows it, keep time.
        LARGE_INTEGER frequency, started;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&started);
        double mixed = 0;
        const double ahead_allowed = kBuffers * kFramesPerBuffer;
        while (!stopping_) {
            DWORD wait = 100;
            for (Buffer& buffer : buffers_) {
                if (stopping_) break;
                if (!(buffer.header.dwFlags & WHDR_DONE)) continue;
                LARGE_INTEGER now;
                QueryPerformanceCounter(&now);
                double due = static_cast<double>(now.QuadPart - started.QuadPart) / frequency.QuadPart * SoundMixer::kRate;
                if (mixed > due + ahead_allowed) {
                    wait = static_cast<DWORD>((mixed - due - ahead_allowed) * 1000 / SoundMixer::kRate) + 1;
                    break;
                }
                mixer_->Mix(buffer.samples.data(), kFramesPerBuffer);
                mixed += kFramesPerBuffer;
                buffer.header.dwFlags &= ~WHDR_DONE;
                if (waveOutWrite(device_, &buffer.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return;
            }
            WaitForSingleObject(event_, wait);
        }
    }

    HWAVEOUT device_ = nullptr;
    HANDLE event_ = nullptr;
    SoundMixer* mixer_ = nullptr;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    Buffer buffers_[kBuffers];
};

}  // namespace

std::unique_ptr<SoundOutput> MakeWaveOutput() { return std::make_unique<WaveOutput>(); }

void InstallWindowsSound() {
    SetMp3Decoder(DecodeMp3WithAcm);
    SetSoundOutputFactory(MakeWaveOutput);
}

}  // namespace flash
