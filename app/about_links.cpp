// SPDX-License-Identifier: MIT
#include "about_links.h"

#include <string>

namespace kestrow::maker {

void SendMail(DesktopShell& shell) {
    const std::string mailTo = "mailto:" + std::string(kMailAddress) + "?Subject=";
    shell.Execute("Open", mailTo + std::string(kMailSubject));
}

void OpenSite(DesktopShell& shell) { shell.Execute("open", kSiteRoot); }

void OpenDonation(DesktopShell& shell) {
    shell.Execute("open", std::string(kSiteRoot) + std::string(kDonationPage));
}

}  // namespace kestrow::maker
