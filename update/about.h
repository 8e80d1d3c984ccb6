#pragma once
// Texts of the about window that do not depend on the window itself.

#include <string>
#include <string_view>

namespace tovek::update {

// The mail link: subject and body "Tovek Hakkinda", blanks kept as written.
std::string mailLinkText(std::string_view address);

// The maker's notice, four lines.
std::string noticeText();

} // namespace tovek::update
