#include "platform/deliveries.h"

#include <QNetworkReply>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>

namespace treld {
namespace {

QString timedOut(int timeoutMs) {
    return QStringLiteral("timed out after %1 s").arg(timeoutMs / 1000.0);
}

}  // namespace

Deliveries::Deliveries(Done done, QObject* parent) : QObject(parent), done_(std::move(done)) {}

void Deliveries::report(int id, bool delivered, const QString& answer) {
    QMetaObject::invokeMethod(
        this,
        [this, id, outcome = DeliveryOutcome{delivered, answer.toStdString()}] {
            done_(id, outcome);
        },
        Qt::QueuedConnection);
}

void Deliveries::sendHttp(int id, const OutgoingRequest& request) {
    QNetworkRequest wanted(QUrl(QString::fromStdString(request.url)));
    wanted.setHeader(QNetworkRequest::UserAgentHeader, "treld/" TRELD_VERSION);
    for (const auto& [name, value] : request.headers)
        wanted.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    if (!request.caFile.empty()) {
        const QList<QSslCertificate> authorities =
            QSslCertificate::fromPath(QString::fromStdString(request.caFile));
        if (authorities.isEmpty()) {
            report(id, false,
                   "CAFILE holds no certificate: " + QString::fromStdString(request.caFile));
            return;
        }
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(authorities);
        wanted.setSslConfiguration(tls);
    }
    QNetworkReply* reply = request.method == "GET"
                               ? network_.get(wanted)
                               : network_.post(wanted, QByteArray::fromStdString(request.body));
    // The answer's body is not wanted: read away, so a talkative server costs no memory.
    connect(reply, &QNetworkReply::readyRead, reply,
            [reply] { reply->skip(reply->bytesAvailable()); });
    // A whole-attempt limit: a server that trickles bytes never ends an idle time-out.
    auto* limit = new QTimer(reply);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, reply, [reply] {
        reply->setProperty("timedOut", true);
        reply->abort();
    });
    limit->start(request.timeoutMs);
    connect(reply, &QNetworkReply::finished, this, [this, id, reply, ms = request.timeoutMs] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->property("timedOut").toBool())
            report(id, false, timedOut(ms));
        else if (status != 0)
            report(id, status >= 200 && status < 300,
                   QStringLiteral("HTTP %1 %2")
                       .arg(status)
                       .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                       .trimmed());
        else
            report(id, false, reply->errorString());
    });
}

void Deliveries::runProgram(int id, const std::string& path, const Pairs& environment,
                            int timeoutMs) {
    auto* process = new QProcess(this);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
        variables.insert(QString::fromStdString(name), QString::fromStdString(value));
    process->setProcessEnvironment(variables);
    process->setProgram(QString::fromStdString(path));
    process->setProcessChannelMode(QProcess::ForwardedChannels);  // its words go to our journal
    process->setStandardInputFile(QProcess::nullDevice());
    auto* limit = new QTimer(process);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, process, [process] {
        process->setProperty("timedOut", true);
        process->kill();
    });
    connect(process, &QProcess::finished, this,
            [this, id, process, timeoutMs](int exitCode, QProcess::ExitStatus status) {
                process->deleteLater();
                if (process->property("timedOut").toBool())
                    report(id, false, timedOut(timeoutMs));
                else if (status == QProcess::CrashExit)
                    report(id, false, QStringLiteral("ended by a signal"));
                else
                    report(id, exitCode == 0, QStringLiteral("exit code %1").arg(exitCode));
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, id, process](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;  // finished follows
                process->deleteLater();
                report(id, false, "could not start: " + process->errorString());
            });
    limit->start(timeoutMs);
    process->start();
}

}  // namespace treld
