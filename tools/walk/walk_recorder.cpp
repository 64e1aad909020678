// Linked into the instrumented korbela.exe that scripts/walk.sh builds: GCC's
// -finstrument-functions calls these two hooks on every entry into and exit
// from a function of the program. The recorder writes the functions that ran
// within an episode: a call of one of the functions KORBELA_WALK_MARKERS names
// (module offsets, in hex, separated by commas) on the main thread, from its
// entry to its exit, with the calls it was reached through; and, at the end,
// everything that ran on other threads. Each episode gives two lines, to the
// file KORBELA_WALK_LOG names:
//   <marker> all <offset> ...    every function that ran
//   <marker> calls <offset> ...  the episode's own calls: a function that
//       KORBELA_WALK_CUTS names (the message pump) is recorded but not
//       followed, and one that KORBELA_WALK_ENTRIES names (the window
//       procedures, which the system calls for a message the episode caused)
//       is neither: what a message sets off is another flow.
// Not compiled with the flag itself, so it never records its own calls.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

struct Recorder {
    uintptr_t base = reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr));
    std::set<uintptr_t> markers;
    std::set<uintptr_t> cuts;
    std::set<uintptr_t> entries;
    std::string log;
    DWORD mainThread = GetCurrentThreadId();
    std::mutex mutex;
    std::set<uintptr_t> otherThreads;

    Recorder() {
        if (const char* path = std::getenv("KORBELA_WALK_LOG")) log = path;
        Read("KORBELA_WALK_MARKERS", markers);
        Read("KORBELA_WALK_CUTS", cuts);
        Read("KORBELA_WALK_ENTRIES", entries);
    }

    static void Read(const char* variable, std::set<uintptr_t>& offsets) {
        const char* list = std::getenv(variable);
        if (list == nullptr) return;
        for (char* end = nullptr;; list = end + 1) {
            const unsigned long long offset = std::strtoull(list, &end, 16);
            if (end == list) break;
            offsets.insert(static_cast<uintptr_t>(offset));
            if (*end != ',') break;
        }
    }

    void Write(uintptr_t marker, const char* kind, const std::set<uintptr_t>& functions) {
        if (log.empty()) return;
        if (FILE* file = std::fopen(log.c_str(), "ab")) {
            std::fprintf(file, "%llx %s", static_cast<unsigned long long>(marker), kind);
            for (uintptr_t function : functions) std::fprintf(file, " %llx", static_cast<unsigned long long>(function));
            std::fprintf(file, "\n");
            std::fclose(file);
        }
    }
};

Recorder& TheRecorder() {
    static Recorder* recorder = [] {
        auto* made = new Recorder;  // never destroyed: threads may still call in at exit
        std::atexit([] {
            Recorder& r = TheRecorder();
            std::lock_guard<std::mutex> lock(r.mutex);
            r.Write(0, "all", r.otherThreads);
            r.Write(0, "calls", r.otherThreads);
        });
        return made;
    }();
    return *recorder;
}

// The main thread's calls in progress, and the episode being recorded.
thread_local std::vector<uintptr_t> stack;
thread_local std::set<uintptr_t> episode;
thread_local std::set<uintptr_t> calls;
thread_local size_t episodeDepth = 0;  // 0: none; else the marker's depth + 1
thread_local uintptr_t episodeMarker = 0;
thread_local size_t cutDepth = 0;  // 0: none; else the cut call's depth + 1

}  // namespace

extern "C" {

void __cyg_profile_func_enter(void* function, void* /*caller*/) __attribute__((no_instrument_function));
void __cyg_profile_func_exit(void* function, void* /*caller*/) __attribute__((no_instrument_function));

void __cyg_profile_func_enter(void* function, void*) {
    Recorder& recorder = TheRecorder();
    const uintptr_t offset = reinterpret_cast<uintptr_t>(function) - recorder.base;
    if (GetCurrentThreadId() != recorder.mainThread) {
        std::lock_guard<std::mutex> lock(recorder.mutex);
        recorder.otherThreads.insert(offset);
        return;
    }
    if (episodeDepth == 0 && recorder.markers.count(offset) != 0) {
        episode.clear();
        episode.insert(stack.begin(), stack.end());
        calls = episode;
        episodeDepth = stack.size() + 1;
        episodeMarker = offset;
    }
    stack.push_back(offset);
    if (episodeDepth == 0) return;
    episode.insert(offset);
    if (cutDepth != 0) return;
    if (recorder.entries.count(offset) != 0) {
        cutDepth = stack.size();
        return;
    }
    calls.insert(offset);
    if (recorder.cuts.count(offset) != 0) cutDepth = stack.size();
}

void __cyg_profile_func_exit(void* /*function*/, void*) {
    Recorder& recorder = TheRecorder();
    if (GetCurrentThreadId() != recorder.mainThread || stack.empty()) return;
    if (cutDepth == stack.size()) cutDepth = 0;
    if (episodeDepth == stack.size()) {
        recorder.Write(episodeMarker, "all", episode);
        recorder.Write(episodeMarker, "calls", calls);
        episodeDepth = 0;
    }
    stack.pop_back();
}

}  // extern "C"
