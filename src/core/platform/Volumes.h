#pragma once

#include <functional>
#include <string>
#include <vector>

// The mounted volumes the drive list offers.
namespace twinfold::platform {

// What a volume's glyph shows.
enum class VolumeKind { Floppy, Hard, Network, CDRom, Ram };

struct Volume {
    std::string mountPoint;
    std::string label;  // empty when none can be found
    std::string fsType;
    VolumeKind kind = VolumeKind::Hard;
    // What it is mounted from, as a person knows it: "sda2" for a device
    // file, the share of a network volume; empty for the rest.
    std::string device = {};
};

// What the mount table alone cannot tell about a device (a source that is an
// absolute path such as "/dev/sdb1"). An unset function answers "no" and "".
struct DeviceProbe {
    std::function<bool(const std::string& source)> isRemovable;
    std::function<std::string(const std::string& source)> labelOf;
};

// The volumes of a mount table in the /proc/self/mounts format. Octal escapes
// ("\040") are decoded; pseudo file systems and tmpfs under /run, /dev, /sys
// and /proc are left out; of several mounts on one point the last one counts.
// "/" is always offered and comes first, the rest follow in byte order of
// their mount points.
std::vector<Volume> ParseMounts(const std::string& mountsText, const DeviceProbe& probe = {});

// A name from /dev/disk/by-label as the label it stands for: the "\x20"
// escapes there become the bytes they name.
std::string DecodeLabelName(const std::string& name);

// The volumes mounted now, as ParseMounts gives them, with the labels from
// /dev/disk/by-label and removable disks told by /sys. Mount points that are
// not directories (files bound into containers) are left out.
std::vector<Volume> MountedVolumes();

}  // namespace twinfold::platform
