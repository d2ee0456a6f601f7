#include "resources/embeddedPictures.h"

#include <cstdint>

// The list (id, file) is made from orvane.rc by the build; embeddedPictures.S
// holds the bytes.
#define ORVANE_PICTURE(id, file)                                                                             \
    extern "C" const std::uint8_t orvanePicture##id[];                                                       \
    extern "C" const std::uint32_t orvanePicture##id##Size;
#include "embeddedPictureList.inc"
#undef ORVANE_PICTURE

namespace {

struct EmbeddedPicture {
    std::int32_t resourceId;
    const std::uint8_t* bytes;
    const std::uint32_t* size;
};

#define ORVANE_PICTURE(id, file) {id, orvanePicture##id, &orvanePicture##id##Size},
constexpr EmbeddedPicture kPictures[] = {
#include "embeddedPictureList.inc"
};
#undef ORVANE_PICTURE

} // namespace

bool findEmbeddedPicture(std::int32_t resourceId, const std::uint8_t** data, std::size_t* size)
{
    for (const EmbeddedPicture& picture : kPictures) {
        if (picture.resourceId == resourceId) {
            *data = picture.bytes;
            *size = *picture.size;
            return true;
        }
    }
    return false;
}
