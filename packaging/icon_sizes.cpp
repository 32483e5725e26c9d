// Makes the hicolor theme's icon sizes from the one large program icon, so the
// build needs nothing beyond Qt: icon_sizes SOURCE.png OUTPUT_DIR NAME SIZE...
// writes OUTPUT_DIR/<SIZE>x<SIZE>/NAME.png for every size.
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fputs("usage: icon_sizes SOURCE.png OUTPUT_DIR NAME SIZE...\n", stderr);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "icon_sizes: cannot read %s\n", argv[1]);
        return 1;
    }
    // Premultiplied alpha keeps the glow's edges from darkening when averaged.
    const QImage master = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QString outputDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > master.width()) {
            std::fprintf(stderr, "icon_sizes: bad size %s\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2").arg(outputDir).arg(size);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "icon_sizes: cannot create %s\n", qPrintable(folder));
            return 1;
        }
        // Shrinking with SmoothTransformation averages whole areas, not just
        // neighbouring pixels, so thin lines survive at 16 px.
        QImage icon = size == master.width()
                          ? master
                          : master.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        icon = icon.convertToFormat(QImage::Format_ARGB32);
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!icon.save(path, "PNG")) {
            std::fprintf(stderr, "icon_sizes: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
