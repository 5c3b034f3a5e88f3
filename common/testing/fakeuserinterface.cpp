#include "fakeuserinterface.h"

namespace ts {

namespace {
template <typename T> std::optional<T> takeFront(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<T> a;
    a.swap(queue.front());
    queue.pop_front();
    return a;
}
} // namespace

Answer FakeUserInterface::messageBox(const QString& title, const QString& text, Buttons buttons) {
    messages.push_back({title, text, buttons});
    if (answers.empty() || buttons == Buttons::Ok) {
        if (!answers.empty() && buttons == Buttons::Ok) answers.pop_front();
        return Answer::Ok;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> FakeUserInterface::inputBox(const QString& title, const QString& prompt,
                                                   const QString& proposed) {
    inputPrompts.push_back(title + QLatin1Char('|') + prompt + QLatin1Char('|') + proposed);
    if (inputs.empty()) return proposed;
    return takeFront(inputs);
}

std::optional<QString> FakeUserInterface::openFileDialog(const QString& filter, const QString& folder,
                                                         const QString& proposedFile) {
    fileRequests.push_back(QStringLiteral("open|") + filter + QLatin1Char('|') + folder + QLatin1Char('|') +
                           proposedFile);
    return takeFront(files);
}

std::optional<QString> FakeUserInterface::saveFileDialog(const QString& filter, const QString& folder,
                                                         const QString& proposedFile) {
    fileRequests.push_back(QStringLiteral("save|") + filter + QLatin1Char('|') + folder + QLatin1Char('|') +
                           proposedFile);
    return takeFront(files);
}

std::optional<Color> FakeUserInterface::colorDialog(Color) {
    return takeFront(colors);
}

void FakeUserInterface::busyMessage(const QString& message, const QString& caption, Color color) {
    busy.push_back({message, caption, color});
    if (captions.empty() || captions.back() != caption) captions.push_back(caption);
}

QStringList FakeUserInterface::titles() const {
    QStringList out;
    for (const auto& m : messages) out << m.title;
    return out;
}

} // namespace ts
