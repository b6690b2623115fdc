#pragma once

// Qt
#include <QObject>

// The libjpeg reader and writer.
class JpegTest : public QObject {
    Q_OBJECT

private slots:
    void qualityNinetyRoundTrip_data();
    void qualityNinetyRoundTrip();
    void writerUsesBaselineTablesOfQualityNinety();
    void corpusFilesOpen_data();
    void corpusFilesOpen();
    void cmykMatchesItsRgbTwin();
    void notAJpegGivesLibjpegsCode_data();
    void notAJpegGivesLibjpegsCode();
    void truncatedAndDamagedFilesNeverCrash();
};
