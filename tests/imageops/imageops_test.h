#pragma once

// Qt
#include <QObject>

class ImageOpsTest : public QObject {
    Q_OBJECT

private slots:
    void bitmapResizeAndWrite_data();
    void bitmapResizeAndWrite();
    void copiesAndResultsAreIndependent_data();
    void copiesAndResultsAreIndependent();
    void impossibleSizeThrows();

    void displayCycle_data();
    void displayCycle();
    void openAndStartOver();
    void longCycleKeepsItsOrderWithoutOverflow();

    void namedPictures_data();
    void namedPictures();
    void outlineAndFillMatchTheScan_data();
    void outlineAndFillMatchTheScan();
    void turnsAndMirrorsPlacePixels_data();
    void turnsAndMirrorsPlacePixels();
    void unknownTurnCodeIsRefused();
    void stretchMatchesPlainStepping_data();
    void stretchMatchesPlainStepping();
};
