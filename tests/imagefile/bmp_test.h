#pragma once

// Qt
#include <QObject>

// The BMP reader against the BMP suite and damaged files, and the writer's
// round trips.
class BmpTest : public QObject {
    Q_OBJECT

private slots:
    void goodSuiteFilesMatchAPlainDecoding_data();
    void goodSuiteFilesMatchAPlainDecoding();
    void runLengthFilesMatchTheirPlainTwins_data();
    void runLengthFilesMatchTheirPlainTwins();
    void badSuiteFilesAreRefused_data();
    void badSuiteFilesAreRefused();
    void questionableFilesOpenOrAreRefusedCleanly();
    void everyTruncationIsRefusedOrWhole_data();
    void everyTruncationIsRefusedOrWhole();
    void emptyFileIsAnEmptyPicture();
    void roundTripKeepsFormatAndPixels_data();
    void roundTripKeepsFormatAndPixels();
    void compressedBytesAreWrittenUntilTheFirstChange();
    void skippedRunLengthPixelsTakeIndexZero();
};
