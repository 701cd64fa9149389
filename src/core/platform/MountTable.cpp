// Reading a mount table into the volumes a person would choose from. Pure
// text work: what only the system can tell comes in through DeviceProbe.
#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <sstream>
#include <string_view>

#include "platform/Volumes.h"

namespace twinfold::platform {
namespace {

struct Mount {
    std::string source;
    std::string point;
    std::string type;
};

// Kernel interfaces and helpers that hold no files of the person's.
constexpr std::array<std::string_view, 25> kPseudoTypes = {
    "proc",      "sysfs",       "cgroup",      "cgroup2",    "devpts",
    "devtmpfs",  "mqueue",      "debugfs",     "tracefs",    "securityfs",
    "pstore",    "bpf",         "configfs",    "fusectl",    "hugetlbfs",
    "autofs",    "binfmt_misc", "efivarfs",    "nsfs",       "rpc_pipefs",
    "selinuxfs", "nfsd",        "fuse.portal", "fuse.lxcfs", "fuse.gvfsd-fuse"};

constexpr std::array<std::string_view, 8> kNetworkTypes = {"nfs",   "nfs4",  "cifs",       "smb3",
                                                           "smbfs", "sshfs", "fuse.sshfs", "ceph"};

template <std::size_t N>
bool IsOneOf(std::string_view type, const std::array<std::string_view, N>& types) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

// The table writes blanks, tabs, newlines and backslashes as "\ooo".
std::string DecodeField(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
            int code = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            text.push_back(static_cast<char>(code));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

// With "/" boundaries: "/run" holds "/run/user" but not "/runner".
bool IsAtOrUnder(const std::string& path, std::string_view dir) {
    return path.starts_with(dir) && (path.size() == dir.size() || path[dir.size()] == '/');
}

bool IsPseudo(const Mount& mount) {
    if (IsOneOf(mount.type, kPseudoTypes)) return true;
    // Whatever is mounted into the kernel's own trees is part of them.
    for (std::string_view dir : {"/proc", "/sys", "/dev"}) {
        if (IsAtOrUnder(mount.point, dir)) return true;
    }
    // Removable media are mounted under /run too; only its scratch space goes.
    return mount.type == "tmpfs" && IsAtOrUnder(mount.point, "/run");
}

// Only sources that name a device file are worth asking the system about.
bool IsDevicePath(const std::string& source) { return source.starts_with('/'); }

VolumeKind KindOf(const Mount& mount, const DeviceProbe& probe) {
    if (IsOneOf(mount.type, kNetworkTypes)) return VolumeKind::Network;
    if (mount.type == "iso9660" || mount.type == "udf") return VolumeKind::CDRom;
    if (mount.type == "tmpfs" || mount.type == "ramfs") return VolumeKind::Ram;
    if (IsDevicePath(mount.source) && probe.isRemovable && probe.isRemovable(mount.source)) {
        return VolumeKind::Floppy;
    }
    return VolumeKind::Hard;
}

Volume VolumeOf(const Mount& mount, const DeviceProbe& probe) {
    Volume volume{mount.point, {}, mount.type, KindOf(mount, probe)};
    if (IsDevicePath(mount.source) && probe.labelOf) volume.label = probe.labelOf(mount.source);
    if (volume.kind == VolumeKind::Network) {
        volume.device = mount.source;
    } else if (IsDevicePath(mount.source)) {
        volume.device = mount.source.substr(mount.source.rfind('/') + 1);
    }
    return volume;
}

// Mount points in byte order ("/" first); a later mount on a point hides an
// earlier one.
std::map<std::string, Mount> LastMounts(const std::string& mountsText) {
    std::map<std::string, Mount> mounts;
    std::istringstream lines(mountsText);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string source, point, type;
        if (!(fields >> source >> point >> type)) continue;
        Mount mount{DecodeField(source), DecodeField(point), DecodeField(type)};
        if (!mount.point.starts_with('/')) continue;
        mounts[mount.point] = std::move(mount);
    }
    return mounts;
}

}  // namespace

std::vector<Volume> ParseMounts(const std::string& mountsText, const DeviceProbe& probe) {
    std::vector<Volume> volumes;
    for (const auto& [point, mount] : LastMounts(mountsText)) {
        if (!IsPseudo(mount)) volumes.push_back(VolumeOf(mount, probe));
    }
    if (volumes.empty() || volumes.front().mountPoint != "/") {
        volumes.insert(volumes.begin(), Volume{"/", {}, {}, VolumeKind::Hard});
    }
    return volumes;
}

std::string DecodeLabelName(const std::string& name) {
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            label.push_back(static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16)));
            i += 3;
        } else {
            label.push_back(name[i]);
        }
    }
    return label;
}

}  // namespace twinfold::platform
