#pragma once

namespace tovek {

// The one version constant: caption, about window and the update check all use it.
inline constexpr const char* kInstalledVersion = "1.81";
inline constexpr const char* kNotice = "(c) 2003-2026 Tovek Yazılım";
inline constexpr const char* kSiteUrl = TOVEK_SITE_URL;
inline constexpr const char* kContactEmail = TOVEK_CONTACT_EMAIL;

} // namespace tovek
