#pragma once
// The fixture of the kernel, registry and shell contract cases: a fresh world per case.

#include "services_world.h"

#include <gtest/gtest.h>

#include <string>

namespace quillop::contract {

class ServicesContract : public ::testing::Test {
protected:
    std::string In(const std::string& name) { return world_->Scratch() + "\\" + name; }
    // A path in the scratch directory exactly length characters long, in a sub-directory
    // whose name pads it (made when make is true).
    std::string PathOfLength(std::size_t length, const std::string& file = "f.ini") {
        const std::size_t fixed = world_->Scratch().size() + 2 + file.size();
        const std::string dir = In(std::string(length - fixed, 'd'));
        world_->MakeDirectory(dir);
        return dir + "\\" + file;
    }

    std::unique_ptr<ServicesWorld> world_ = MakeServicesWorld();
};

} // namespace quillop::contract
