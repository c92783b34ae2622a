#pragma once

#include "app/main_window.h"
#include "core/session/clock.h"
#include "support/core/temp_dir.h"
#include "support/ui/scripted_dialogs.h"

#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace brevio::test {

// A real main window in a fresh working folder with a fresh settings location, scripted
// boxes and a clock that stands still. Files can be laid out before start().
class FormFixture
{
public:
    FormFixture();
    ~FormFixture();

    // Creates the window (runs startSession); show = true also shows it (onFirstShow).
    MainWindow& start(bool show = false);
    // Closes and destroys the window; true when it closed.
    bool stop();
    MainWindow& form() { return *m_form; }

    // Files of the working folder (windows-1251 bytes).
    void write(std::string_view name, std::string_view bytes) { m_work.write(name, bytes); }
    std::string read(std::string_view name) const { return m_work.read(name); }
    bool exists(std::string_view name) const { return m_work.exists(name); }
    const std::filesystem::path& workDir() const { return m_work.path(); }

    // Settings as stored on disk, read through a second settings object.
    std::optional<QString> setting(const QString& section, const QString& name) const;
    void setSetting(const QString& section, const QString& name, const QString& value);
    QString settingsFile() const;

    // A named control of the window.
    template <class W>
    W* find(const char* name)
    {
        return m_form->findChild<W*>(QString::fromLatin1(name));
    }

    ScriptedDialogs dialogs;
    FixedClock clock;

private:
    TempDir m_work;
    TempDir m_config;
    std::optional<ScopedCurrentDir> m_cd;
    std::unique_ptr<MainWindow> m_form;
};

// 2026-12-09 12:00 local: a Wednesday.
std::chrono::local_seconds testNow();
std::chrono::local_seconds at(int year, unsigned month, unsigned day, int hour = 0, int minute = 0);

} // namespace brevio::test
