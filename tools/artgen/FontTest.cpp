#include "Font.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

TEST(Font, EveryGlyphIsARectangleOfTheFaceHeight) {
    const struct {
        const char* name;
        const Face& face;
    } faces[] = {{"caption", captionFace()}, {"title", titleFace()}};
    for (const auto& [name, face] : faces) {
        for (const Glyph& glyph : face.glyphs) {
            SCOPED_TRACE(std::string(name) + " '" + glyph.character + "'");
            ASSERT_EQ(static_cast<int>(glyph.rows.size()), face.height);
            for (std::string_view row : glyph.rows) {
                EXPECT_EQ(static_cast<int>(row.size()), glyph.width());
                EXPECT_EQ(row.find_first_not_of("#."), std::string_view::npos);
            }
        }
    }
}

TEST(Font, GlyphsFollowEachOtherAfterTheSpacing) {
    const Face& face = captionFace();
    const int spacing = 2;
    const std::vector<Point> ink = inkPixels(face, "II", spacing, 10, 5);
    ASSERT_EQ(static_cast<int>(ink.size()), 2 * face.height);
    EXPECT_EQ(ink.front().x, 10);
    EXPECT_EQ(ink.front().y, 5);
    EXPECT_EQ(ink.back().x, 10 + face.glyph('I').width() + spacing);
    EXPECT_EQ(ink.back().y, 5 + face.height - 1);
}

} // namespace
} // namespace hk
