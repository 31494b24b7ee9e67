// A team of threads for one operation. The caller is member 0; the other
// members wait between rounds, so an elimination can hand them every one of
// its steps without starting threads each time.
//
// A round is a number of independent tasks that members take in turn as they
// come. The caller starts on them at once and waits only for tasks already
// taken, never for a member that is not running (on a busy machine a thread
// may wait long for a processor), so a round never takes much longer than
// the caller alone would.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace dense {

class Team {
public:
    // Up to size members; fewer when the system refuses a thread.
    explicit Team(int size);
    ~Team();
    Team(const Team&) = delete;
    Team& operator=(const Team&) = delete;

    int size() const { return static_cast<int>(workers_.size()) + 1; }

    // Runs task(member, i) for every i in [0, count) and returns when all
    // have finished. A task must not throw.
    template <class F>
    void forEach(std::int64_t count, F& task) {
        roundErased(count, &task, [](void* t, int member, std::int64_t i) { (*static_cast<F*>(t))(member, i); });
    }

private:
    using Call = void (*)(void*, int, std::int64_t);
    void roundErased(std::int64_t count, void* task, Call call);
    // Takes and runs tasks of the current round until none is left.
    void takeTasks(int member);
    void serve(int member);

    std::vector<std::thread> workers_;
    // The tasks not yet taken, [front, back): front in the high half.
    std::atomic<std::uint64_t> ticket_{0};
    std::atomic<std::uint32_t> round_{0};  // counts rounds; sleeping members wait on it
    std::atomic<std::int64_t> finished_{0};
    std::atomic<bool> closing_{false};
    void* task_ = nullptr;
    Call call_ = nullptr;
};

}  // namespace dense
