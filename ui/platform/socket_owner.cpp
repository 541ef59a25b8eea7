// SPDX-License-Identifier: MIT
#include "ui/platform/socket_owner.h"

#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace kestrow::ui {
namespace {

// The attributes after one socket's description, as (type, bytes) pairs.
template <typename Visit>
void forEachAttribute(const nlmsghdr* message, Visit&& visit) {
    const auto* start =
        static_cast<const char*>(NLMSG_DATA(message)) + NLMSG_ALIGN(sizeof(unix_diag_msg));
    const char* const end = reinterpret_cast<const char*>(message) + message->nlmsg_len;
    while (end - start >= static_cast<std::ptrdiff_t>(NLA_HDRLEN)) {
        nlattr attribute{};
        std::memcpy(&attribute, start, sizeof attribute);
        if (attribute.nla_len < NLA_HDRLEN || attribute.nla_len > end - start) return;
        visit(attribute.nla_type & NLA_TYPE_MASK,
              std::string_view(start + NLA_HDRLEN, attribute.nla_len - NLA_HDRLEN));
        start += NLA_ALIGN(attribute.nla_len);
    }
}

}  // namespace

NameOwner findAbstractNameOwner(std::string_view name, uid_t& owner) {
    const int fd = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0) return NameOwner::Unknown;
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } ask{};
    ask.header.nlmsg_len = sizeof ask;
    ask.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    ask.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    ask.request.sdiag_family = AF_UNIX;
    ask.request.udiag_states = 1u << TCP_LISTEN;
    ask.request.udiag_show = UDIAG_SHOW_NAME | UDIAG_SHOW_UID;
    if (::send(fd, &ask, sizeof ask, 0) != static_cast<ssize_t>(sizeof ask)) {
        ::close(fd);
        return NameOwner::Unknown;
    }
    std::string wanted(1, '\0');
    wanted.append(name);
    NameOwner result = NameOwner::NotListening;
    bool sawName = false;
    alignas(nlmsghdr) char buffer[32768];
    for (bool done = false; !done;) {
        const ssize_t length = ::recv(fd, buffer, sizeof buffer, 0);
        if (length <= 0) {
            if (!sawName) result = NameOwner::Unknown;
            break;
        }
        int left = static_cast<int>(length);
        for (auto* message = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(message, left);
             message = NLMSG_NEXT(message, left)) {
            if (message->nlmsg_type == NLMSG_DONE) {
                done = true;
                break;
            }
            if (message->nlmsg_type == NLMSG_ERROR) {
                if (!sawName) result = NameOwner::Unknown;
                done = true;
                break;
            }
            bool named = false;
            bool hasUid = false;
            std::uint32_t uid = 0;
            forEachAttribute(message, [&](int type, std::string_view value) {
                if (type == UNIX_DIAG_NAME) named = value == wanted;
                if (type == UNIX_DIAG_UID && value.size() >= sizeof uid) {
                    std::memcpy(&uid, value.data(), sizeof uid);
                    hasUid = true;
                }
            });
            if (named && !sawName) {
                sawName = true;
                // A kernel that names sockets but not their users (before
                // Linux 5.3) cannot tell.
                result = hasUid ? NameOwner::Found : NameOwner::Unknown;
                owner = static_cast<uid_t>(uid);
            }
        }
    }
    ::close(fd);
    return result;
}

}  // namespace kestrow::ui
