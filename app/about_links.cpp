// SPDX-License-Identifier: MIT
#include "about_links.h"

#include <string>

namespace kestrow::maker {

bool SendMail(DesktopShell& shell) {
    const std::string mailTo = "mailto:" + std::string(kMailAddress) + "?Subject=";
    return shell.Open(mailTo + std::string(kMailSubject));
}

bool OpenSite(DesktopShell& shell) { return shell.Open(kSiteRoot); }

bool OpenDonation(DesktopShell& shell) { return shell.Open(DonationPage()); }

std::string DonationPage() { return std::string(kSiteRoot) + std::string(kDonationPage); }

}  // namespace kestrow::maker
