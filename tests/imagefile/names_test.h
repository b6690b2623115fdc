#pragma once

// Qt
#include <QObject>

// The extension rule, kind texts, refusals, caption name and size text.
class NamesTest : public QObject {
    Q_OBJECT

private slots:
    void extensionDecidesTheKind_data();
    void extensionDecidesTheKind();
    void kindTexts_data();
    void kindTexts();
    void refusalTexts();
    void fileNamePartForCaption_data();
    void fileNamePartForCaption();
    void sizeText_data();
    void sizeText();
};
