// A team of threads for one operation. The caller is member 0; the other
// members wait between runs, so an elimination can hand them every one of its
// steps without starting threads each time.
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

    // Runs job(member) on every member, and returns when all have finished.
    // The job must not throw.
    template <class F>
    void run(F& job) {
        runErased(&job, [](void* j, int member) { (*static_cast<F*>(j))(member); });
    }

private:
    void runErased(void* job, void (*call)(void*, int));
    void serve(int member);

    std::vector<std::thread> workers_;
    std::atomic<std::uint32_t> generation_{0};
    std::atomic<int> unfinished_{0};
    std::atomic<bool> closing_{false};
    void* job_ = nullptr;
    void (*call_)(void*, int) = nullptr;
};

// The rows [first, last) of member `member` when `count` rows are shared by
// `members`, in blocks that are multiples of `multiple` rows.
void shareRows(std::int64_t count, int members, int member, std::int64_t multiple, std::int64_t& first,
               std::int64_t& last);

}  // namespace dense
