#include "platform/sound.h"

#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

#include "platform/clock.h"

namespace {

// Once no device could be opened, later beeps go straight to the bell.
bool g_noAudioDevice = false;

// The audio functions, taken from the SDL library when the first beep needs
// them: the program does not load the library at start-up for a beep that
// may never come.
struct AudioLibrary {
    decltype(&SDL_InitSubSystem) initSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) quitSubSystem = nullptr;
    decltype(&SDL_OpenAudioDevice) openAudioDevice = nullptr;
    decltype(&SDL_CloseAudioDevice) closeAudioDevice = nullptr;
    decltype(&SDL_QueueAudio) queueAudio = nullptr;
    decltype(&SDL_PauseAudioDevice) pauseAudioDevice = nullptr;
    decltype(&SDL_GetQueuedAudioSize) getQueuedAudioSize = nullptr;
    bool complete = false;
};

template <typename Function>
bool lookUp(void* library, const char* name, Function& slot) {
    slot = reinterpret_cast<Function>(dlsym(library, name));
    return slot != nullptr;
}

AudioLibrary loadAudioLibrary() {
    AudioLibrary sdl;
    void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) return sdl;
    sdl.complete = lookUp(library, "SDL_InitSubSystem", sdl.initSubSystem) &&
                   lookUp(library, "SDL_QuitSubSystem", sdl.quitSubSystem) &&
                   lookUp(library, "SDL_OpenAudioDevice", sdl.openAudioDevice) &&
                   lookUp(library, "SDL_CloseAudioDevice", sdl.closeAudioDevice) &&
                   lookUp(library, "SDL_QueueAudio", sdl.queueAudio) &&
                   lookUp(library, "SDL_PauseAudioDevice", sdl.pauseAudioDevice) &&
                   lookUp(library, "SDL_GetQueuedAudioSize", sdl.getQueuedAudioSize);
    return sdl;
}

const AudioLibrary& audio() {
    static const AudioLibrary sdl = loadAudioLibrary();
    return sdl;
}

// The sound libraries print their own diagnostics on standard error while they
// look for a device; on a machine without one that would be noise on every
// beep, so the search runs with standard error pointed at /dev/null.
class QuietStandardError {
public:
    QuietStandardError() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        int null = ::open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) ::close(null);
    }
    ~QuietStandardError() {
        if (saved_ < 0) return;
        dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

SDL_AudioDeviceID openAudioDevice(SDL_AudioSpec& have) {
    QuietStandardError quiet;
    const AudioLibrary& sdl = audio();
    if (!sdl.complete || sdl.initSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    SDL_AudioSpec want {};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    SDL_AudioDeviceID device = sdl.openAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) sdl.quitSubSystem(SDL_INIT_AUDIO);
    return device;
}

// Plays the tone; false when there is no audio device to play it on.
bool playThroughAudioDevice(int hz, int ms) {
    if (g_noAudioDevice) return false;
    SDL_AudioSpec have {};
    SDL_AudioDeviceID device = openAudioDevice(have);
    if (device == 0) {
        g_noAudioDevice = true;
        return false;
    }
    const int count = have.freq / 1000 * ms;
    std::vector<short> samples(count > 0 ? count : 0);
    fillSquareWave(samples.data(), count, hz, have.freq, 6000);
    const AudioLibrary& sdl = audio();
    bool played = sdl.queueAudio(device, samples.data(), static_cast<Uint32>(samples.size() * sizeof(short))) == 0;
    if (played) {
        sdl.pauseAudioDevice(device, 0);
        std::uint32_t start = millisecondTick();
        // Wait for the queue to drain, but never much longer than the tone.
        while (sdl.getQueuedAudioSize(device) > 0 && millisecondTick() - start < static_cast<std::uint32_t>(ms) + 500)
            sleepMilliseconds(5);
        std::uint32_t spent = millisecondTick() - start;
        if (spent < static_cast<std::uint32_t>(ms)) sleepMilliseconds(ms - spent);
    }
    sdl.closeAudioDevice(device);
    sdl.quitSubSystem(SDL_INIT_AUDIO);
    return played;
}

void ringTerminalBell() {
    if (isatty(STDOUT_FILENO)) {
        std::fputc('\a', stdout);
        std::fflush(stdout);
    } else if (isatty(STDERR_FILENO)) {
        std::fputc('\a', stderr);
    }
}

}  // namespace

void fillSquareWave(short* out, int count, int hz, int rate, short amplitude) {
    if (hz <= 0 || rate <= 0) {
        for (int i = 0; i < count; ++i) out[i] = 0;
        return;
    }
    // Sample i lies in half period floor(2 * hz * i / rate); even halves are high.
    for (int i = 0; i < count; ++i) {
        long long half = 2LL * hz * i / rate;
        out[i] = half % 2 == 0 ? amplitude : static_cast<short>(-amplitude);
    }
}

void beepTone(int hz, int ms) {
    if (ms <= 0) return;
    if (playThroughAudioDevice(hz, ms)) return;
    ringTerminalBell();
    sleepMilliseconds(static_cast<std::uint32_t>(ms));
}
