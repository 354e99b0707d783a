#include "formats/Patch.h"

#include "formats/Bps.h"
#include "formats/FormatError.h"
#include "formats/Ips.h"

namespace varnel {

std::string_view patchFormatName(PatchFormat format) { return format == PatchFormat::Ips ? "IPS" : "BPS"; }

std::vector<std::uint8_t> createPatch(PatchFormat format, std::span<const std::uint8_t> original,
                                      std::span<const std::uint8_t> modified) {
    return format == PatchFormat::Ips ? ips::create(original, modified) : bps::create(original, modified);
}

std::vector<std::uint8_t> applyPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source) {
    if (ips::recognises(patch)) return ips::apply(patch, source);
    if (bps::recognises(patch)) return bps::apply(patch, source);
    throw FormatError("这不是 IPS 或 BPS 补丁（文件开头既不是“PATCH”也不是“BPS1”）。");
}

}  // namespace varnel
