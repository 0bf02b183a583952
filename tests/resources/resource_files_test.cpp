// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>

#include <array>

namespace wheelwatcher {

namespace {

struct Picture {
  const char* name;
  QSize size;
};

const Picture kPictures[] = {
    {"hitmap.png", {280, 560}},
    {"layout.png", {280, 560}},
    {"glyphs-small.png", {352, 45}},
    {"glyphs-medium.png", {512, 66}},
    {"glyphs-large.png", {704, 90}},
    {"about.png", {350, 100}},
    {"icon.png", {128, 128}},
    {"highlight-first.png", {27, 113}},
    {"highlight-second.png", {27, 111}},
    {"highlight-third.png", {27, 113}},
    {"highlight-low.png", {26, 55}},
    {"highlight-evens.png", {26, 55}},
    {"highlight-reds.png", {26, 54}},
    {"highlight-blacks.png", {26, 55}},
    {"highlight-odds.png", {26, 54}},
    {"highlight-high.png", {26, 55}},
    {"highlight-column.png", {26, 36}},
    {"highlight-column-middle.png", {26, 35}},
    {"livewheel-faded.png", {50, 24}},
    {"save.png", {66, 30}},
    {"stake-greyed.png", {66, 30}},
};

TEST(ResourceFilesTest, EveryPictureLoadsFromTheResourcesAtItsSize) {
  for (const Picture& picture : kPictures) {
    const QImage image(QStringLiteral(":/") + QString::fromLatin1(picture.name));
    EXPECT_FALSE(image.isNull()) << picture.name;
    EXPECT_EQ(image.size(), picture.size) << picture.name;
  }
}

// Every picture the window shows and every glyph sheet has a variant at twice the size, which
// Qt's reader marks as drawn for a device pixel ratio of 2; the hit map has none.
TEST(ResourceFilesTest, WindowPicturesHaveDoubleSizeVariants) {
  for (const Picture& picture : kPictures) {
    QString name = QString::fromLatin1(picture.name);
    const bool hasVariant = !name.startsWith(QStringLiteral("hitmap"));
    const QImage variant(QStringLiteral(":/") + name.replace(QStringLiteral(".png"), "@2x.png"));
    EXPECT_EQ(variant.isNull(), !hasVariant) << picture.name;
    if (!hasVariant) continue;
    EXPECT_EQ(variant.size(), picture.size * 2) << picture.name;
    EXPECT_EQ(variant.devicePixelRatio(), 2.0) << picture.name;
  }
}

TEST(ResourceFilesTest, ClickSoundIsEmbedded) {
  QFile click(QStringLiteral(":/click.wav"));
  ASSERT_TRUE(click.open(QIODevice::ReadOnly));
  EXPECT_EQ(click.size(), 2560);
}

TEST(ResourceFilesTest, DesktopIconsHaveTheirSizesAndTransparentCorners) {
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QImage icon(
        QStringLiteral(WHEELWATCHER_SOURCE_DIR "/resources/icons/wheelwatcher-%1.png").arg(size));
    ASSERT_FALSE(icon.isNull()) << size;
    EXPECT_EQ(icon.size(), QSize(size, size));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
    EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
  }
}

// Where each box lies in the layout and the picture that lights it up.
struct Placement {
  const char* overlay;
  QPoint position;
};

const Placement kHighlights[] = {
    {"highlight-first.png", {38, 88}},          {"highlight-second.png", {38, 205}},
    {"highlight-third.png", {38, 320}},         {"highlight-low.png", {156, 88}},
    {"highlight-evens.png", {156, 146}},        {"highlight-reds.png", {156, 205}},
    {"highlight-blacks.png", {156, 263}},       {"highlight-odds.png", {156, 320}},
    {"highlight-high.png", {156, 380}},         {"highlight-column.png", {68, 436}},
    {"highlight-column-middle.png", {98, 436}}, {"highlight-column.png", {128, 436}},
};

// Each outside-bet box of the layout has a one-pixel edge of a single colour exactly around the
// rectangle its highlight covers, and the felt outside it is different: so the highlight neither
// leaves a sliver of the box showing nor spills over its neighbours.
TEST(ResourceFilesTest, HighlightsCoverTheirBoxesExactly) {
  const QImage layout(QStringLiteral(":/layout.png"));
  ASSERT_FALSE(layout.isNull());
  for (const Placement& placement : kHighlights) {
    SCOPED_TRACE(placement.overlay);
    const QImage overlay(QStringLiteral(":/") + QString::fromLatin1(placement.overlay));
    ASSERT_FALSE(overlay.isNull());
    const QRect rect(placement.position, overlay.size());
    const QRgb edge = layout.pixel(rect.topLeft());
    for (int x = rect.left(); x <= rect.right(); ++x) {
      EXPECT_EQ(layout.pixel(x, rect.top()), edge);
      EXPECT_EQ(layout.pixel(x, rect.bottom()), edge);
      EXPECT_NE(layout.pixel(x, rect.top() - 1), edge);
      EXPECT_NE(layout.pixel(x, rect.bottom() + 1), edge);
    }
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      EXPECT_EQ(layout.pixel(rect.left(), y), edge);
      EXPECT_EQ(layout.pixel(rect.right(), y), edge);
      EXPECT_NE(layout.pixel(rect.left() - 1, y), edge);
      EXPECT_NE(layout.pixel(rect.right() + 1, y), edge);
    }
    // The lit copy is green and brighter than the box it covers.
    const QRgb litCentre = overlay.pixel(overlay.width() / 2, 3);
    EXPECT_GT(qGreen(litCentre), 180);
    EXPECT_GT(qGray(litCentre), qGray(layout.pixel(rect.center().x(), rect.top() + 3)));
  }
}

// One picture serves both outer column boxes, so the two boxes must look the same.
TEST(ResourceFilesTest, OuterColumnBoxesAreAlike) {
  const QImage layout(QStringLiteral(":/layout.png"));
  EXPECT_EQ(layout.copy(68, 436, 26, 36), layout.copy(128, 436, 26, 36));
}

}  // namespace

}  // namespace wheelwatcher
