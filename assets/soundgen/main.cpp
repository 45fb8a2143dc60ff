// tavrel-soundgen: makes our own sound pack for the table client.
//   tavrel-soundgen --out DIR --chat chat.ini --cache FILE [--jobs N] [--espeak P] [--sox P]
// writes DIR/music/ (the six effects), DIR/tavrelmj/ (the local voice collection "27")
// and DIR/mj/ (the common collection "00"). A file is made again only when its recipe,
// the tools' versions or the phrase it says changed: FILE keeps a hash per file.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <QTextStream>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "recipes.h"

namespace {

constexpr int kStepTimeoutMs = 30000;

int Usage() {
  std::fprintf(stderr,
               "usage: tavrel-soundgen --out DIR --chat chat.ini --cache FILE [--jobs N] [--espeak P] [--sox P]\n");
  return 2;
}

// The file's text: UTF-8 (with or without its mark), else code page 936.
QString DecodeText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError()) {
    QStringDecoder gbk("GB18030");
    if (gbk.isValid()) text = gbk(bytes);
  }
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return text;
}

// The two lists of the quick-phrase file.
soundgen::Phrases ReadPhrases(const QString& file) {
  soundgen::Phrases phrases;
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return phrases;
  const QString text = DecodeText(f.readAll());
  std::map<QString, std::map<QString, QString>> sections;
  QString section;
  for (QString line : text.split('\n')) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(';')) continue;
    if (line.startsWith('[') && line.endsWith(']')) {
      section = line.mid(1, line.size() - 2).trimmed().toLower();
      continue;
    }
    const qsizetype eq = line.indexOf('=');
    if (eq > 0) sections[section][line.left(eq).trimmed().toLower()] = line.mid(eq + 1).trimmed();
  }
  auto list = [&](const char* name) {
    std::vector<std::string> out;
    auto& keys = sections[QString::fromLatin1(name)];
    const int count = std::clamp(keys[QStringLiteral("num")].toInt(), 0, 999);
    for (int i = 1; i <= count; ++i) out.push_back(keys[QString::number(i)].toStdString());
    return out;
  };
  phrases.list1 = list("phrase1");
  phrases.list2 = list("phrase2");
  return phrases;
}

QString FirstLine(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(kStepTimeoutMs)) return {};
  return QString::fromUtf8(p.readAllStandardOutput()).section('\n', 0, 0).trimmed();
}

// FNV-1a: a stable hash of a recipe, the same in every build.
QString Hash(const std::string& text) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return QString::number(h, 16);
}

std::string RecipeText(const soundgen::Job& job, const std::string& versions) {
  std::string text = versions + "\n" + job.input + "\n";
  for (const auto& cmd : job.pipe) {
    for (const auto& arg : cmd) text += arg + '\x1f';
    text += '\n';
  }
  return text;
}

QStringList Arguments(const soundgen::Command& cmd, const QString& out) {
  QStringList args;
  for (std::size_t i = 1; i < cmd.size(); ++i)
    args << (cmd[i] == "{out}" ? out : QString::fromStdString(cmd[i]));
  return args;
}

// Runs one job's pipe into part, then moves it into place. Empty on success.
QString Run(const soundgen::Job& job, const QString& target) {
  const QString part = target + QStringLiteral(".part");
  std::vector<std::unique_ptr<QProcess>> procs;
  for (const auto& cmd : job.pipe) {
    procs.push_back(std::make_unique<QProcess>());
    procs.back()->setProgram(QString::fromStdString(cmd[0]));
    procs.back()->setArguments(Arguments(cmd, part));
  }
  for (std::size_t i = 0; i + 1 < procs.size(); ++i) procs[i]->setStandardOutputProcess(procs[i + 1].get());
  for (auto& p : procs) p->start();
  for (auto& p : procs)
    if (!p->waitForStarted(kStepTimeoutMs)) return QStringLiteral("cannot start ") + p->program();
  procs.front()->write(QByteArray::fromStdString(job.input));
  procs.front()->closeWriteChannel();
  QString failure;
  for (auto& p : procs) {
    if (!p->waitForFinished(kStepTimeoutMs)) {
      p->kill();
      p->waitForFinished(1000);
      failure = p->program() + QStringLiteral(" did not finish");
    } else if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0) {
      failure = p->program() + QStringLiteral(" failed: ") + QString::fromUtf8(p->readAllStandardError()).trimmed();
    }
  }
  if (failure.isEmpty() && QFileInfo(part).size() <= 44) failure = QStringLiteral("no sound came out");
  if (!failure.isEmpty()) {
    QFile::remove(part);
    return failure;
  }
  QFile::remove(target);
  if (!QFile::rename(part, target)) return QStringLiteral("cannot move into place");
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString out, chat, cache;
  soundgen::Tools tools;
  int jobs = std::max(1, QThread::idealThreadCount());
  const QStringList args = app.arguments();
  for (int i = 1; i + 1 < args.size(); i += 2) {
    const QString& key = args[i];
    const QString& value = args[i + 1];
    if (key == "--out") out = value;
    else if (key == "--chat") chat = value;
    else if (key == "--cache") cache = value;
    else if (key == "--jobs") jobs = std::max(1, value.toInt());
    else if (key == "--espeak") tools.espeak = value.toStdString();
    else if (key == "--sox") tools.sox = value.toStdString();
    else return Usage();
  }
  if (out.isEmpty() || cache.isEmpty() || args.size() % 2 == 0) return Usage();

  const QString espeakVersion = FirstLine(QString::fromStdString(tools.espeak), {"--version"});
  const QString soxVersion = FirstLine(QString::fromStdString(tools.sox), {"--version"});
  if (espeakVersion.isEmpty() || soxVersion.isEmpty()) {
    std::fprintf(stderr, "tavrel-soundgen: espeak-ng and sox are needed (found: \"%s\", \"%s\")\n",
                 qPrintable(espeakVersion), qPrintable(soxVersion));
    return 1;
  }
  const std::string versions = (espeakVersion + " / " + soxVersion).toStdString();

  std::vector<soundgen::Job> all = soundgen::EffectJobs(tools);
  for (auto& job : soundgen::VoiceJobs(tools, ReadPhrases(chat))) all.push_back(std::move(job));

  // The hashes of the files made before.
  std::map<QString, QString> made;
  if (QFile f(cache); f.open(QIODevice::ReadOnly | QIODevice::Text)) {
    QTextStream in(&f);
    while (!in.atEnd()) {
      const QStringList parts = in.readLine().split('\t');
      if (parts.size() == 2) made[parts[0]] = parts[1];
    }
  }
  std::vector<std::pair<const soundgen::Job*, QString>> todo;
  std::map<QString, QString> current;
  for (const auto& job : all) {
    const QString file = QString::fromStdString(job.file);
    const QString hash = Hash(RecipeText(job, versions));
    current[file] = hash;
    auto it = made.find(file);
    if (it == made.end() || it->second != hash || !QFileInfo::exists(QDir(out).filePath(file))) todo.push_back({&job, hash});
  }
  for (const char* sub : {"music", "tavrelmj", "mj"}) QDir(out).mkpath(QString::fromLatin1(sub));

  QElapsedTimer clock;
  clock.start();
  std::atomic<std::size_t> next{0};
  std::atomic<int> failures{0};
  std::mutex lock;
  auto worker = [&] {
    for (std::size_t i = next++; i < todo.size(); i = next++) {
      const soundgen::Job& job = *todo[i].first;
      const QString file = QString::fromStdString(job.file);
      const QString error = Run(job, QDir(out).filePath(file));
      std::lock_guard<std::mutex> guard(lock);
      if (error.isEmpty()) {
        made[file] = todo[i].second;
      } else {
        made.erase(file);
        ++failures;
        std::fprintf(stderr, "tavrel-soundgen: %s: %s\n", qPrintable(file), qPrintable(error));
      }
    }
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < std::min<int>(jobs, static_cast<int>(todo.size())); ++i) threads.emplace_back(worker);
  for (auto& t : threads) t.join();

  // Keep only what this pack still holds.
  QSaveFile f(cache);
  if (f.open(QIODevice::WriteOnly | QIODevice::Text)) {
    QTextStream o(&f);
    for (const auto& [file, hash] : made)
      if (current.count(file)) o << file << '\t' << hash << '\n';
    o.flush();
    f.commit();
  }
  std::printf("tavrel-soundgen: %zu files, %zu made in %.1f s with %d jobs, %zu unchanged%s\n", all.size(),
              todo.size() - static_cast<std::size_t>(failures.load()), clock.elapsed() / 1000.0, jobs,
              all.size() - todo.size(), failures ? ", some failed" : "");
  return failures ? 1 : 0;
}
