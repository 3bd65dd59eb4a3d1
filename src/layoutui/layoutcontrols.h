#pragma once

class ColorCombo;
class NumberEdit;
class UpDown;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

/// The controls of the layout column, named like their objects. The column
/// creates them; the page's transfers and reactions work on them.
struct LayoutControls {
    // Ad's background, width and position
    QGroupBox* gbxPage = nullptr;
    NumberEdit* edtAdW = nullptr;
    UpDown* UpDown5 = nullptr;
    QRadioButton* radAdManual = nullptr;
    QRadioButton* radAdFull = nullptr;
    QCheckBox* cbxAdCenter = nullptr;
    ColorCombo* clrAd = nullptr;
    QPushButton* btnAdImg = nullptr;
    QCheckBox* cbxAdCol = nullptr;
    QCheckBox* cbxAdImg = nullptr;

    // Outer border
    QGroupBox* gbxOB = nullptr;
    NumberEdit* edtOBW = nullptr;
    UpDown* UpDown1 = nullptr;
    QComboBox* cbxOBT = nullptr;
    ColorCombo* clrOB = nullptr;

    // Frame
    QGroupBox* gbxF = nullptr;
    NumberEdit* edtFW = nullptr;
    UpDown* UpDown2 = nullptr;
    QPushButton* btnFrmImg = nullptr;
    ColorCombo* clrFrame = nullptr;
    QCheckBox* cbxFrmCol = nullptr;
    QCheckBox* cbxFRepeatX = nullptr;
    QCheckBox* cbxFRepeatY = nullptr;
    QCheckBox* cbxFrmImg = nullptr;

    // Inner border
    QGroupBox* gbxIB = nullptr;
    NumberEdit* edtIBW = nullptr;
    UpDown* UpDown3 = nullptr;
    QComboBox* cbxIBT = nullptr;
    ColorCombo* clrIB = nullptr;

    // Text area
    QGroupBox* gbxTA = nullptr;
    QCheckBox* cbxAllMargins = nullptr;
    NumberEdit* edtTxtMarginLeft = nullptr;
    UpDown* UpDown7 = nullptr;
    NumberEdit* edtTxtMarginRight = nullptr;
    UpDown* UpDown6 = nullptr;
    NumberEdit* edtTxtMarginTop = nullptr;
    UpDown* UpDown4 = nullptr;
    ColorCombo* clrTxt = nullptr;
    QPushButton* btnTxtImg = nullptr;
    QCheckBox* cbxTxtCol = nullptr;
    QCheckBox* cbxTxtRepeatX = nullptr;
    QCheckBox* cbxTxtRepeatY = nullptr;
    QCheckBox* cbxTxtImg = nullptr;
};
