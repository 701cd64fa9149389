// The mounted volumes as the system reports them: the mount table, labels
// from udev's by-label links and the kernel's removable flag.
#include <dirent.h>
#include <limits.h>
#include <stdlib.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/Volumes.h"

namespace twinfold::platform {
namespace {

constexpr const char* kMountTable = "/proc/self/mounts";
constexpr const char* kLabelLinks = "/dev/disk/by-label";

std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The device a source names, with every link and ".." resolved.
std::optional<std::string> ResolvedPath(const std::string& path) {
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer) == nullptr) return std::nullopt;
    return std::string(buffer);
}

// Resolved device -> label, read once per listing.
std::map<std::string, std::string> LabelsByDevice() {
    std::map<std::string, std::string> labels;
    DIR* dir = opendir(kLabelLinks);
    if (dir == nullptr) return labels;
    while (const dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.starts_with('.')) continue;
        auto device = ResolvedPath(std::string(kLabelLinks) + "/" + name);
        if (device) labels[*device] = DecodeLabelName(name);
    }
    closedir(dir);
    return labels;
}

// A partition has no flag of its own; its disk is the directory above it.
bool IsRemovableDevice(const std::string& source) {
    auto device = ResolvedPath(source);
    if (!device || !device->starts_with("/dev/")) return false;
    std::string name = device->substr(5);
    if (name.empty() || name.find('/') != std::string::npos) return false;
    const std::string base = "/sys/class/block/" + name;
    auto flag = ReadText(base + "/removable");
    if (!flag) flag = ReadText(base + "/../removable");
    return flag && flag->starts_with('1');
}

// Containers bind single files (/etc/hosts) as mounts. Network volumes are
// not asked: a server that is gone would stall the list.
bool IsOfferable(const Volume& volume) {
    if (volume.mountPoint == kRoot || volume.kind == VolumeKind::Network) return true;
    auto info = QueryEntry(volume.mountPoint);
    return info && (info->attributes & kDirectory) != 0;
}

}  // namespace

std::vector<Volume> MountedVolumes() {
    auto labels = LabelsByDevice();
    DeviceProbe probe;
    probe.isRemovable = IsRemovableDevice;
    probe.labelOf = [&labels](const std::string& source) {
        auto device = ResolvedPath(source);
        auto found = device ? labels.find(*device) : labels.end();
        return found == labels.end() ? std::string() : found->second;
    };
    auto volumes = ParseMounts(ReadText(kMountTable).value_or(""), probe);
    std::erase_if(volumes, [](const Volume& volume) { return !IsOfferable(volume); });
    return volumes;
}

}  // namespace twinfold::platform
