#pragma once

#include "platform/result.h"
#include "settings/servermirror.h"
#include "settings/settingschoices.h"
#include "settings/settingsfile.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <optional>

/// The settings the program runs with: the current value of every key of the
/// settings file, read and written through the file's key table. The
/// settings dialog edits them: a choice made there counts for every reader at
/// once, before it is saved, until Save writes it or leaving the dialog
/// discards it. Windows that keep a key of their own (the "hide this window"
/// boxes, the language) store it at once. Every change of a current value is
/// signalled once, with the keys it changed.
class Settings : public QObject, public SettingsChoices {
    Q_OBJECT
public:
    explicit Settings(QString fileName, QObject* parent = nullptr);

    const QString& fileName() const { return m_fileName; }

    /// Reads every key. A file that cannot be read gives every key's default
    /// and the failure naming it; choices not saved yet are kept either way.
    Status load();
    /// Loads again when the file no longer holds what was last read or
    /// written (another run of the program saved it); otherwise nothing is
    /// read and the outcome of the last load is given again.
    Status reloadIfChanged();

    int integer(SettingKey key) const;
    bool flag(SettingKey key) const;
    QString text(SettingKey key) const;
    /// Of the key's type, as `SettingValues` holds it.
    const QVariant& value(SettingKey key) const;

    /// A choice that counts at once and is written by the next save of its
    /// key. An integer outside the values the key can take becomes the key's
    /// default, as saving and loading it would make it.
    void setInteger(SettingKey key, int value);
    void setFlag(SettingKey key, bool value);
    void setText(SettingKey key, const QString& value);
    void setValue(SettingKey key, const QVariant& value);
    /// The key's current value is not the one last read from or written to
    /// the file.
    bool isUnsaved(SettingKey key) const;
    /// Every choice not saved goes back to what the file held.
    void discardUnsaved();

    /// Writes the current values of `keys`, in that order, with one
    /// replacement of the file. When the file cannot be written it stays as
    /// it was, and so do the choices not saved.
    Status save(const QList<SettingKey>& keys);
    /// Sets one key and saves it at once.
    Status store(SettingKey key, const QVariant& value);

    /// The server choices the pages and publishing work with.
    ServerMirror servers() const;
    /// The first two characters of "lang".
    QString languageCode() const;

    // SettingsChoices
    int defaultServer() const override;
    int ownServer() const override;
    QString primaryServer() const override;
    QString secondaryServer() const override;
    bool useOwnServer() const override;
    bool linksInNewWindow() const override;
    QString proxyHost() const override;
    QString proxyPort() const override;
    bool hideExportHelp() const override;
    void setHideExportHelp(bool hide) override;
    bool hideInsertPicture() const override;
    void setHideInsertPicture(bool hide) override;
    bool hideInsertLink() const override;
    void setHideInsertLink(bool hide) override;
    bool hideCheckImage() const override;
    void setHideCheckImage(bool hide) override;

signals:
    /// Current values changed; `keys` in the order of `SettingKey`.
    void changed(const QList<SettingKey>& keys);

private:
    /// What the file held when it was last read or written; the values of
    /// keys without a choice of their own follow it.
    void takeStored(const SettingValues& stored);
    QByteArray readFileBytes() const;

    QString m_fileName;
    SettingValues m_values;
    SettingValues m_stored;
    /// The file's bytes at the last load or save; none before the first.
    std::optional<QByteArray> m_fileBytes;
    Status m_lastLoad;
    bool m_hideCheckImage = false;
};
