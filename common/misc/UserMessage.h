#pragma once
// A message the core hands to its front end instead of showing it: the front end decides how
// to show it (a message box with the error icon, a line on standard error, ...).

#include <string>

namespace tabrel {

struct UserMessage {
    std::string caption;
    std::string text;
};

}  // namespace tabrel
