// The editor's BMP files compiled into the binary, for systems that keep no
// resources in their executables. The bytes live as long as the program.
#pragma once

#include <cstddef>
#include <cstdint>

// The BMP file embedded under resource id `resourceId` (the ids of
// resources/orvane.rc); false when there is none.
bool findEmbeddedPicture(std::int32_t resourceId, const std::uint8_t** data, std::size_t* size);
