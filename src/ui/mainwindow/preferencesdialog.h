#pragma once

#include <QDialog>

#include "session/preferences.h"

class QCheckBox;
class QComboBox;
class QSpinBox;
class QLineEdit;

namespace velloran::ui {

// The small dialog that edits the options kept in Preferences.ini.
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    PreferencesDialog(const session::Preferences& preferences, QWidget* parent);

    // What the dialog shows now; options it does not show keep the values it was given.
    session::Preferences chosen() const;

private:
    session::Preferences m_given;
    QCheckBox* m_mirror;
    QCheckBox* m_flip;
    QComboBox* m_screen;
    QCheckBox* m_cue;
    QCheckBox* m_remote;
    QCheckBox* m_wholeScript;
    QSpinBox* m_countdown;
    QCheckBox* m_timeLeft;
    QCheckBox* m_markers;
    QCheckBox* m_paceKeys;
    QCheckBox* m_follow;
    QLineEdit* m_device;
    QLineEdit* m_model;
    QLineEdit* m_dictionary;
    QCheckBox* m_markWord;
};

}  // namespace velloran::ui
