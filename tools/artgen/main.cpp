// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every picture of the program and makes its click sound, into the folder given on the
// command line. Run through the `resources` build target.
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

#include "tools/artgen/art.h"

namespace wheelwatcher {

namespace {

QString RegisterFont(const QString& path) {
  const int id = QFontDatabase::addApplicationFont(path);
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (families.isEmpty()) {
    std::fprintf(stderr, "cannot load font %s\n", qPrintable(path));
    std::exit(1);
  }
  return families.first();
}

bool SaveImage(const QImage& image, const QString& path) {
  QImageWriter writer(path, "png");
  // Quality 0 is the PNG writer's strongest compression. No text chunks are written, so the bytes
  // depend on the pixels alone.
  writer.setQuality(0);
  if (!writer.write(image)) {
    std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
  }
  return true;
}

bool SaveBytes(const QByteArray& bytes, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

}  // namespace wheelwatcher

int main(int argc, char** argv) {
  using namespace wheelwatcher;
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  if (!output.mkpath(QStringLiteral("icons"))) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  const ArtFonts fonts{
      RegisterFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"),
      RegisterFont("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"),
      RegisterFont("/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf"),
  };

  bool ok = SaveImage(DrawHitMap(), output.filePath("hitmap.png")) &&
            SaveBytes(MakeClickWave(), output.filePath("click.wav"));
  // Each picture the window shows, and its "@2x" variant, which Qt picks on screens scaled by 1.5
  // and more; the panels take the glyph sheets' from the same scale.
  for (int scale : {1, 2}) {
    const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
    const auto path = [&](const QString& name) {
      return output.filePath(QString(name).replace(QStringLiteral(".png"), suffix + ".png"));
    };
    ok = ok && SaveImage(DrawGlyphSheet(GlyphSize::kSmall, scale), path("glyphs-small.png")) &&
         SaveImage(DrawGlyphSheet(GlyphSize::kMedium, scale), path("glyphs-medium.png")) &&
         SaveImage(DrawGlyphSheet(GlyphSize::kLarge, scale), path("glyphs-large.png")) &&
         SaveImage(DrawLayout(fonts, scale), path("layout.png")) &&
         SaveImage(DrawAboutPicture(fonts, scale), path("about.png")) &&
         SaveImage(DrawIcon(128 * scale), path("icon.png"));
    for (const Overlay& overlay : DrawOverlays(fonts, scale)) {
      ok = ok && SaveImage(overlay.image, path(overlay.fileName));
    }
  }
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    ok = ok && SaveImage(DrawIcon(size),
                         output.filePath(QStringLiteral("icons/wheelwatcher-%1.png").arg(size)));
  }
  ok = ok && SaveBytes(DrawScalableIcon(), output.filePath("icons/wheelwatcher.svg"));
  return ok ? 0 : 1;
}
