#pragma once

// Qt
#include <QObject>

// The icon writer, byte by byte, and the icon reader.
class IconTest : public QObject {
    Q_OBJECT

private slots:
    void headerFieldsByteByByte();
    void coloursMapToTheNearestOfSixteen_data();
    void coloursMapToTheNearestOfSixteen();
    void maskMarksExactlyTheTopLeftColour();
    void onlyThirtyTwoSquareIsWritten_data();
    void onlyThirtyTwoSquareIsWritten();
    void readBackTransparentPartsAreWhite();
    void readerPicksClosestToThirtyTwoThenMostColours();
    void corpusIconsOpenOrAreRefused_data();
    void corpusIconsOpenOrAreRefused();
    void truncatedIconsNeverCrash();
};
