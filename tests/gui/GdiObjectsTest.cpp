// The leak tests trust liveGdiObjects; it must see every kind of object they
// make, and see each one go again.
#include "tests/support/GdiObjects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct ObjectKind {
    const char* name;
    HGDIOBJ (*make)();
    BOOL(WINAPI* destroy)(HGDIOBJ);
};

void PrintTo(const ObjectKind& kind, std::ostream* out)
{
    *out << kind.name;
}

constexpr int kObjectsMade = 100;
constexpr COLORREF kAnyColor = RGB(10, 20, 30);
constexpr int kBitmapSide = 4;

BOOL WINAPI deleteDc(HGDIOBJ dc)
{
    return DeleteDC(static_cast<HDC>(dc));
}

const ObjectKind kKinds[] = {
    {"brush", [] { return HGDIOBJ(CreateSolidBrush(kAnyColor)); }, DeleteObject},
    {"pen", [] { return HGDIOBJ(CreatePen(PS_SOLID, 1, kAnyColor)); }, DeleteObject},
    {"font",
     [] {
         LOGFONTA description{};
         description.lfHeight = -12;
         return HGDIOBJ(CreateFontIndirectA(&description));
     },
     DeleteObject},
    {"bitmap", [] { return HGDIOBJ(CreateBitmap(kBitmapSide, kBitmapSide, 1, 1, nullptr)); }, DeleteObject},
    {"memory device context", [] { return HGDIOBJ(CreateCompatibleDC(nullptr)); }, deleteDc},
};

class GdiObjectsTest : public ::testing::TestWithParam<ObjectKind> {};

TEST_P(GdiObjectsTest, CountsEachObjectMadeAndDeleted)
{
    // The first of a kind may make platform objects that stay; let that happen first.
    GetParam().destroy(GetParam().make());
    const std::int64_t before = liveGdiObjects();
    std::vector<HGDIOBJ> objects;
    for (int made = 0; made < kObjectsMade; ++made) {
        objects.push_back(GetParam().make());
        ASSERT_NE(objects.back(), nullptr);
    }
    EXPECT_EQ(liveGdiObjects(), before + kObjectsMade);
    for (HGDIOBJ object : objects) {
        EXPECT_TRUE(GetParam().destroy(object));
    }
    EXPECT_EQ(liveGdiObjects(), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, GdiObjectsTest, ::testing::ValuesIn(kKinds));

} // namespace
