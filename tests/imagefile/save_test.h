#pragma once

// Qt
#include <QObject>

// Writing files all or nothing, measuring them, and the I/O error texts.
class SaveTest : public QObject {
    Q_OBJECT

private slots:
    void failedWriteLeavesTheOldFile_data();
    void failedWriteLeavesTheOldFile();
    void fullDiskLeavesTheOldFile_data();
    void fullDiskLeavesTheOldFile();
    void writeReplacesAnExistingFile();
    void readOnlyFileIsMeasuredAndKeepsItsRights();
    void measuringFailuresGiveTheIoTexts_data();
    void measuringFailuresGiveTheIoTexts();
    void errorNumbersMapToTexts_data();
    void errorNumbersMapToTexts();
    void saveFolderIsOnTheDesktop();
};
