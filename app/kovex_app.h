#pragma once

#include <QString>
#include <functional>
#include <memory>

class Form1;
class Form2;
class Form3;
class Module1;
class FileSystemObject;
class KovexError;

// The program's single instances: the application folder, the three windows, the settings
// routines, the file layer they use and the run-time error report.
class KovexApp {
public:
    using ErrorReport = std::function<void(const KovexError&)>;
    using FileSystemFactory = std::function<std::unique_ptr<FileSystemObject>()>;

    explicit KovexApp(const QString& appFolder);
    ~KovexApp();
    KovexApp(const KovexApp&) = delete;
    KovexApp& operator=(const KovexApp&) = delete;

    // The folder of the executable; settings and configurations live beside it.
    const QString& appFolder() const { return m_appFolder; }

    // Creates the main window, runs its load handler and shows it.
    void start();
    // Closes every window and leaves the event loop; nothing is saved.
    void endProgram();

    Form1& form1();
    // Created hidden on its first reference.
    Form2& form2();
    bool isForm2Loaded() const { return m_form2 != nullptr; }
    // Created at its first use.
    Form3& form3();
    bool isForm3Loaded() const { return m_form3 != nullptr; }
    Module1& module1() { return *m_module1; }

    std::unique_ptr<FileSystemObject> createFileSystemObject() const;
    void setFileSystemFactory(FileSystemFactory factory);
    // Replaces the message box, for example to collect reports; an empty one restores it.
    void setErrorReport(ErrorReport report);

    // Runs one event handler to its end. A failure is shown by the error report and the
    // program goes on: the handler stops where it failed.
    void runHandler(const std::function<void()>& handler);
    void report(const KovexError& error);

private:
    QString m_appFolder;
    FileSystemFactory m_fileSystemFactory;
    ErrorReport m_errorReport;
    std::unique_ptr<Module1> m_module1;
    std::unique_ptr<Form1> m_form1;
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
};
