// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QBuffer>
#include <QImageWriter>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>

// Local
#include "file_size.h"
#include "import_picture.h"

// Std
#include <memory>

// An image in a file format Qt writes; WebP lossless.
inline QByteArray encoded(const QImage& image, const char* format = "png") {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    return writer.write(image) ? bytes : QByteArray();
}

// pelmora-batch run as a user runs it, on pictures made here.
class BatchTest : public QObject {
    Q_OBJECT

public:
    struct Run {
        int status;
        QString out;
        QString err;
        QByteArray outBytes;
    };

    // Run with LANG=C and no other locale variable, unless `locale` sets
    // them ("LC_ALL=ja").
    Run run(const QStringList& arguments, const QByteArray& standardInput = QByteArray(),
            const QStringList& locale = {QStringLiteral("LANG=C")}) const;
    QString path(const QString& name) const { return dir_->filePath(name); }
    pelmora::Bitmap read(const QString& name, pelmora::PictureKind kind = pelmora::PictureKind::Bitmap) const {
        return pelmora::importPicture(path(name), kind);
    }
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;

private slots:
    void init();

    void fillThenTurnThenScaleInOrder();
    void infoListsEachInputInOrder();
    void metafileTextIsDrawn();
    void jobsChangeNothingButTheWait();

    void qtKindsOpenWithTheirPixels_data();
    void qtKindsOpenWithTheirPixels();
    void unreadableQtKindNamesItsKind();
    void jobsShareTheMemory();

    void svgDocument();

    void hostileOutputPaths_data();
    void hostileOutputPaths();

    void commandLines_data();
    void commandLines();
    void pipesCarryThePicture();
    void sizesKeepProportions_data();
    void sizesKeepProportions();
    void kindsByContent_data();
    void kindsByContent();
    void iconGivesItsLargestPicture();
    void messagesInTheUsersLanguage_data();
    void messagesInTheUsersLanguage();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};
