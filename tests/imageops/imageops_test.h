// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QObject>

class ImageOpsTest : public QObject {
    Q_OBJECT

private slots:
    void bitmapFormats_data();
    void bitmapFormats();
    void impossibleSizeThrows();
    void systemColoursFollowThePalette_data();
    void systemColoursFollowThePalette();
    void spareBuffersAreNeverShared_data();
    void spareBuffersAreNeverShared();

    void displayCycle_data();
    void displayCycle();
    void longCycleKeepsItsOrderWithoutOverflow();

    void namedPictures_data();
    void namedPictures();
    void outlineAndFillMatchTheScan_data();
    void outlineAndFillMatchTheScan();
    void turnsAndMirrorsPlacePixels_data();
    void turnsAndMirrorsPlacePixels();
    void stretchMatchesPlainStepping_data();
    void stretchMatchesPlainStepping();

    void solidMatchesBreadthFirstFlood_data();
    void solidMatchesBreadthFirstFlood();
};
