#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/library.h"
#include "audio/output.h"

namespace audio {
namespace {

// Mixes as much as real time asks for, every few milliseconds, and throws
// the sound away.
class SilentOutput : public Output {
public:
    explicit SilentOutput(int rate) : rate_(rate), thread_(&SilentOutput::run, this) {}
    ~SilentOutput() override
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

private:
    void run()
    {
        using Clock = std::chrono::steady_clock;
        const int chunk = 1024;
        std::vector<float> buffer(2 * chunk);
        const Clock::time_point start = Clock::now();
        long long mixed = 0;
        std::unique_lock<std::mutex> lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return stopping_; })) {
            lock.unlock();
            const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
            const long long due = elapsed.count() * rate_ / 1000000;
            while (mixed + chunk <= due) {
                mixAndNotify(buffer.data(), chunk);
                mixed += chunk;
            }
            lock.lock();
        }
    }

    int rate_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace

std::unique_ptr<Output> startSilentOutput(int rate)
{
    return std::make_unique<SilentOutput>(rate);
}

} // namespace audio
