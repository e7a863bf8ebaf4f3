#include "platform/sim/loop.h"

namespace quillop::platform::sim {

bool Loop::PopFront(std::function<void()>& work) {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) {
        return false;
    }
    work = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

void Loop::Drain() {
    std::function<void()> work;
    while (PopFront(work)) {
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
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(work));
}

void Loop::Run() {
    quit_ = false;
    std::function<void()> work;
    while (!quit_ && PopFront(work)) {
        work();
    }
}

std::size_t Loop::Pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

} // namespace quillop::platform::sim
