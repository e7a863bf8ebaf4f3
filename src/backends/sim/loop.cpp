#include "backends/sim/loop.h"

namespace quillop::platform::sim {

void Loop::Drain() {
    while (!queue_.empty()) {
        auto work = std::move(queue_.front());
        queue_.pop_front();
        work();
    }
}

void Loop::ProcessMessages() {
    ++process_calls_;
    if (hook_) {
        hook_(process_calls_);
    }
    Drain();
}

void Loop::Post(std::function<void()> work) {
    queue_.push_back(std::move(work));
}

void Loop::Run() {
    quit_ = false;
    while (!quit_ && !queue_.empty()) {
        auto work = std::move(queue_.front());
        queue_.pop_front();
        work();
    }
}

} // namespace quillop::platform::sim
