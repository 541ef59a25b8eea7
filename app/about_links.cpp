// SPDX-License-Identifier: MIT
#include "about_links.h"

#include <string>

namespace kestrow::maker {

void SendMail(DesktopShell& shell) {
    const std::string mailTo = "mailto:" + std::string(kMailAddress) + "?Subject=";
    shell.Open(mailTo + std::string(kMailSubject));
}

void OpenSite(DesktopShell& shell) { shell.Open(kSiteRoot); }

void OpenDonation(DesktopShell& shell) {
    shell.Open(std::string(kSiteRoot) + std::string(kDonationPage));
}

}  // namespace kestrow::maker
