#pragma once
// The program's own message boxes. All are centred on the screen with the text wrapped at half
// the screen width.
//   Information:      caption "Information", information icon, "OK"; Escape answers Ok.
//   Error:            caption "Error", stop icon, "OK"; Escape answers Ok.
//   WarningQuestion:  caption "Warning", exclamation icon, "&Yes" (default) and "&No";
//                     Escape answers No; closing from the title bar answers None.
//   ApplicationError: the caption passed in (the application title), stop icon, "OK".
// The caption argument is used only for ApplicationError; the other kinds have fixed captions.

#include <string_view>

namespace quillop::platform {

enum class BoxKind { Information, Error, WarningQuestion, ApplicationError };
enum class BoxAnswer { Ok, Yes, No, None };

// The fixed caption of a kind; for ApplicationError, the caption given.
std::string_view box_caption(BoxKind kind, std::string_view caption);

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer Show(BoxKind kind, std::string_view text, std::string_view caption) = 0;
};

} // namespace quillop::platform
