// The artwork generator's reading of descriptions and its drawing rules,
// on small descriptions and elements made here.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "frame/elements.h"
#include "tools/artwork/descriptions.h"
#include "tools/artwork/painter.h"

namespace fs = std::filesystem;

namespace {

using Colour = std::array<int, 3>;

// A folder holding one description file with the given text.
std::string folder_with(const std::string& text) {
    fs::path dir = fs::temp_directory_path() /
                   (std::string("artwork_test_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "a.art") << text;
    return dir.string();
}

bool read(const std::string& text, Descriptions* d, std::string* error) {
    return read_descriptions(folder_with(text), d, error);
}

struct Drawn {
    Image image;
    std::string error;
    bool ok = false;
};

// Draws image n of the first bitmap of `text` as shown by `element` of `gauge`.
Drawn draw(const std::string& text, const ElementHead* element, int n = 0, const GaugeInfo* gauge = nullptr) {
    Drawn out;
    Descriptions d;
    if (!read(text, &d, &out.error) || d.bitmaps.empty()) return out;
    static GaugeInfo plain;
    plain.size = 100;
    ElementInfo info;
    info.head = element;
    ImageJob job;
    job.descriptions = &d;
    job.description = &d.bitmaps.front();
    job.gauge = gauge ? gauge : &plain;
    job.element = &info;
    job.image = n;
    out.ok = paint_image(job, &out.image, &out.error);
    return out;
}

Colour pixel(const Image& image, int x, int y) {
    const uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
    return Colour{p[0], p[1], p[2]};
}

const Colour BLACK{0, 0, 0};

ElementHead static_at(int x, int y) {
    return element_head(nullptr, ELEMENT_STATIC_IMAGE, {.bitmap = 100, .x = x, .y = y});
}

}  // namespace

TEST(Descriptions, WordsTextsImageListsAndTheirFaults) {
    std::vector<std::string> w;
    std::string error;
    ASSERT_TRUE(split_words("text 1 2 \"A \\\"B\\\" C\" l  # a comment \"x\"", &w, &error));
    ASSERT_EQ(w.size(), 5u);
    EXPECT_EQ(w[3], "\"A \"B\" C");   // a quoted word keeps its marker, never a number
    EXPECT_FALSE(split_words("text \"open", &w, &error));

    std::vector<int> images;
    ASSERT_TRUE(parse_image_list("0,2-4", &images));
    EXPECT_EQ(images, (std::vector<int>{0, 2, 3, 4}));
    for (const char* bad : {"", "3-1", "a", "1,,2", "2-"}) {
        images.clear();
        EXPECT_FALSE(parse_image_list(bad, &images)) << bad;
    }

    // Faults name the file and line.
    Descriptions d;
    EXPECT_FALSE(read("colour a 1 2 3\nbitmap 0\nend\n", &d, &error));
    EXPECT_EQ(error, "a.art:2: a bitmap before any gauge line");
    EXPECT_FALSE(read("gauge G\nbitmap 0\n  fill a\n", &d, &error));
    EXPECT_EQ(error, "a.art:3: the file ends inside a block (no 'end')");
    EXPECT_FALSE(read("define x\nend\ndefine x\nend\n", &d, &error));
    EXPECT_EQ(error, "a.art:3: 'x' is defined already");
    EXPECT_FALSE(read("frobnicate\n", &d, &error));
    EXPECT_EQ(error, "a.art:1: unknown statement 'frobnicate'");
}

TEST(Painter, ClearCutsTransparentHolesAndPaintNeverTurnsQuiteBlack) {
    ElementHead e = static_at(0, 0);
    Drawn d = draw("colour white 255 255 255\ncolour soot 2 3 1\ngauge G\nbitmap 0\n  size 20 10\n"
                   "  fill white\n  rect 0 0 10 10 clear\n  rect 15 0 5 10 soot\nend\n",
                   &e);
    ASSERT_TRUE(d.ok) << d.error;
    ASSERT_EQ(d.image.width, 20);
    ASSERT_EQ(d.image.height, 10);
    EXPECT_EQ(pixel(d.image, 5, 5), BLACK);                      // cut out: transparent
    EXPECT_EQ(pixel(d.image, 12, 5), (Colour{255, 255, 255}));
    EXPECT_EQ(pixel(d.image, 17, 5), (Colour{8, 8, 8}));         // dark paint stays opaque
}

TEST(Painter, DefinesTakeArgumentsAndIconImagesDrawTheirOwnLines) {
    ElementHead e = element_head(nullptr, ELEMENT_ICON, {.bitmap = 100});
    const std::string text =
        "colour red 255 0 0\ncolour blue 0 0 255\n"
        "define box\n  rect $1 0 $2 4 $3\nend\n"
        "gauge G\nbitmap 0\n  size 12 4\n  @0 use box 0 4 red\n  @1,2 use box 4 4 blue\n"
        "  rect 8+n 0 1 4 red\nend\n";
    Drawn first = draw(text, &e, 0), third = draw(text, &e, 2);
    ASSERT_TRUE(first.ok) << first.error;
    ASSERT_TRUE(third.ok) << third.error;
    EXPECT_EQ(pixel(first.image, 1, 1), (Colour{255, 0, 0}));
    EXPECT_EQ(pixel(first.image, 5, 1), BLACK);
    EXPECT_EQ(pixel(third.image, 1, 1), BLACK);
    EXPECT_EQ(pixel(third.image, 5, 1), (Colour{0, 0, 255}));
    EXPECT_EQ(pixel(first.image, 8, 1), (Colour{255, 0, 0}));   // 8 + n for image 0
    EXPECT_EQ(pixel(third.image, 10, 1), (Colour{255, 0, 0}));  // and for image 2

    Drawn missing = draw("gauge G\nbitmap 0\n  size 2 2\n  use box 1\nend\n", &e);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "a.art:4: no define 'box'");
}

// A face's marks stand where its needle's scale table points.
TEST(Painter, DialMarksFollowTheNeedlesScaleTable) {
    static constexpr ScalePoint scale[] = {{0, 50, 10}, {100, 90, 50}};   // up, then right
    NeedleElement needle_element =
        needle(nullptr, {.bitmap = 1, .x = 50, .y = 50}, nullptr, scale);
    GaugeInfo gauge;
    gauge.size = 100;
    ElementInfo info;
    info.head = &needle_element.head;
    gauge.elements.push_back(info);
    ElementHead face = static_at(0, 0);
    Drawn d = draw("colour white 255 255 255\ngauge G\nbitmap 0\n  dial 1\n  ticks 0 100 100 30 40 3 white\nend\n",
                   &face, 0, &gauge);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.image.width, 100);                                // a face at 0,0: the gauge's size
    EXPECT_EQ(pixel(d.image, 50, 15), (Colour{255, 255, 255}));   // 0 straight up, 35 from the centre
    EXPECT_EQ(pixel(d.image, 85, 50), (Colour{255, 255, 255}));   // 100 to the right
    EXPECT_EQ(pixel(d.image, 65, 35), BLACK);                     // nothing between

    Drawn no_needle = draw("gauge G\nbitmap 0\n  dial 7\nend\n", &face, 0, &gauge);
    EXPECT_FALSE(no_needle.ok);
    EXPECT_EQ(no_needle.error, "a.art:3: no needle of this gauge shows bitmap offset 7");
}

// A needle is drawn pointing right from its turning point at the element's
// pivot; its image is as long as its pointer.
TEST(Painter, NeedlesPointRightFromTheirPivot) {
    NeedleElement n = needle(nullptr, {.bitmap = 100, .x = 50, .y = 50}, nullptr);
    Drawn d = draw("colour white 255 255 255\ngauge G\nbitmap 0\n  pointer 30 4 white bar\nend\n", &n.head);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.image.width, NEEDLE_PIVOT + 30 + 2);
    EXPECT_EQ(d.image.height, 2 * NEEDLE_PIVOT + 1);
    EXPECT_EQ(pixel(d.image, NEEDLE_PIVOT + 20, NEEDLE_PIVOT), (Colour{255, 255, 255}));
    EXPECT_EQ(pixel(d.image, NEEDLE_PIVOT - 5, NEEDLE_PIVOT), BLACK);   // no tail asked for
    EXPECT_EQ(pixel(d.image, NEEDLE_PIVOT + 20, NEEDLE_PIVOT + 5), BLACK);
}

// A moving image's strip is the window it is seen through plus its travel.
TEST(Painter, AMovingImagesStripIsItsWindowAndItsTravel) {
    MovingImageElement m = moving_image(nullptr, {.bitmap = 100}, nullptr, nullptr, 0, 0, 0, 999, 0, 140);
    Drawn d = draw("gauge G\nbitmap 0\n  window 20 25\nend\n", &m.head);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.image.width, 20);
    EXPECT_EQ(d.image.height, 165);
    ElementHead child = static_at(5, 5);
    child.next = nullptr;
    Drawn unsized = draw("gauge G\nbitmap 0\nend\n", &child);
    EXPECT_FALSE(unsized.ok);
    EXPECT_EQ(unsized.error, "a.art:2: the bitmap needs a size line");
}

// Legends drawn in gauge pixels land where the gauge has them, whatever the
// element's own place.
TEST(Painter, OriginGaugeDrawsInTheGaugesPixels) {
    ElementHead overlay = static_at(-1, 190);
    Drawn d = draw("colour white 255 255 255\ngauge G\nbitmap 0\n  size 30 30\n  origin gauge\n"
                   "  rect 11 200 4 4 white\nend\n",
                   &overlay);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(pixel(d.image, 13, 11), (Colour{255, 255, 255}));   // gauge 12,201
    EXPECT_EQ(pixel(d.image, 11, 10), BLACK);
}
