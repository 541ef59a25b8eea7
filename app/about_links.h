// SPDX-License-Identifier: MIT
// The maker's links of the About window, kept in one place.
#pragma once

#include <string>
#include <string_view>

#include "desktop_shell.h"

namespace kestrow::maker {

inline constexpr std::string_view kMailAddress = "kestrow@example.org";
inline constexpr std::string_view kMailSubject = "Ravelin";
inline constexpr std::string_view kSiteRoot = "http://kestrow.example.org/";
inline constexpr std::string_view kDonationPage = "DON.html";
// The texts shown in the window; the links are not built from them.
inline constexpr std::string_view kMailText = "kestrow@example.org";
inline constexpr std::string_view kSiteText = "kestrow.example.org";
inline constexpr std::string_view kProgramName = "Kestrow ";

// Each is false when the desktop could not open the link.
// Starts a mail message: "mailto:" + address + "?Subject=" + "Ravelin".
bool SendMail(DesktopShell& shell);
// Opens the web site's root page.
bool OpenSite(DesktopShell& shell);
// Opens the donation page, the root address followed by "DON.html".
bool OpenDonation(DesktopShell& shell);
// The donation page's address.
std::string DonationPage();

}  // namespace kestrow::maker
