#pragma once
// The machine a loop contract case runs on: the loop service under test and a way to let time
// pass while it processes messages. Implemented over the sim's virtual clock
// (loop_world_sim.cpp) and over the real Win32 loop (loop_world_win32.cpp).

#include "platform/loop.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace quillop::contract {

class LoopWorld {
public:
    virtual ~LoopWorld() = default;
    virtual platform::Loop& loop() = 0;
    // Processes messages until done() or until limit milliseconds have passed; returns done().
    virtual bool RunUntil(const std::function<bool()>& done, std::uint32_t limit) = 0;
};

std::unique_ptr<LoopWorld> MakeLoopWorld();

} // namespace quillop::contract
