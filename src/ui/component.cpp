#include "ui/component.h"

namespace quillop::ui {

Component::Component(std::string name) : name_(std::move(name)) {}

Component::~Component() = default;

void Component::Realise(PeerFactory& factory) {
    if (realised_) {
        return;
    }
    if (Component* first = RealiseFirst()) {
        first->Realise(factory);
    }
    realised_ = true;
    peer_ = MakePeer(factory);
}

} // namespace quillop::ui
