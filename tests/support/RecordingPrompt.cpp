#include "RecordingPrompt.h"

void RecordingPrompt::message(const QString &text, const QString &title, Icon icon)
{
    messages.append({text, title, icon});
}

bool RecordingPrompt::question(const QString &title, const QString &text)
{
    questions.append({title, text});
    return answer;
}

QString RecordingPrompt::openFileName(const QString &filter, const QString &)
{
    fileFilters.append(filter);
    return nextFile;
}

QString RecordingPrompt::saveFileName(const QString &filter, const QString &)
{
    saveFilters.append(filter);
    return nextSaveFile;
}

QStringList RecordingPrompt::texts() const
{
    QStringList list;
    for (const Message &m : messages)
        list << m.text;
    return list;
}

void RecordingPrompt::clear()
{
    messages.clear();
    questions.clear();
    fileFilters.clear();
    saveFilters.clear();
}
