#pragma once
// The base of everything placed on a form: a name, the owning form, the position in the
// form's component list and, once realised, a peer.

#include "platform/handles.h"
#include "ui/peer.h"

#include <memory>
#include <string>

namespace quillop::ui {

class Form;

class Component {
public:
    explicit Component(std::string name);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    const std::string& Name() const { return name_; }
    Form* Owner() const { return owner_; }
    // Position in the owner's component list; -1 before it is added.
    int ComponentIndex() const { return index_; }

    // True for visual controls (bounds and font); false for menus and menu items.
    virtual bool IsControl() const { return false; }

    // Creates this component's peer (after its parent's); does nothing when realised already.
    void Realise(PeerFactory& factory);
    bool Realised() const { return realised_; }
    Peer* GetPeer() const { return peer_.get(); }
    // The native handle of the peer, 0 without one.
    platform::WindowHandle Handle() const { return peer_ ? peer_->Handle() : 0; }

protected:
    void Sync(Property property) const {
        if (peer_) {
            peer_->Sync(property);
        }
    }
    // The peer this kind needs, or nullptr for none.
    virtual std::unique_ptr<Peer> MakePeer(PeerFactory& factory) = 0;
    // The component that must be realised first (a parent), or nullptr.
    virtual Component* RealiseFirst() const { return nullptr; }

private:
    friend class Form;
    std::string name_;
    Form* owner_ = nullptr;
    int index_ = -1;
    bool realised_ = false;
    std::unique_ptr<Peer> peer_;
};

} // namespace quillop::ui
