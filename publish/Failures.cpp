// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/Failures.h"

#include "publish/Errors.h"

namespace velmora::publish {

bool isIdentityFailure(CURLcode result) noexcept {
    return result == CURLE_PEER_FAILED_VERIFICATION || result == CURLE_SSL_CACERT_BADFILE ||
           result == CURLE_SSL_ISSUER_ERROR;
}

std::string failureMessage(const StepFailure& step) {
    const std::string& text = step.serverText;
    switch (step.result) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return std::string(kHostNotFound) + ": " + step.host + " (" + text + ")";
        case CURLE_COULDNT_CONNECT:
            return std::string(kConnectionRefused) + ": " + text;
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_FTP_ACCEPT_TIMEOUT:
            return std::string(kTimeout) + ": " + text;
        case CURLE_LOGIN_DENIED:
            return std::string(kLoginRefused) + ": " + text;
        case CURLE_REMOTE_DISK_FULL:
            return std::string(kServerFull) + ": " + text;
        case CURLE_REMOTE_ACCESS_DENIED:
            return std::string(kNoWritePermission) + " " + step.where + ": " + text;
        default:
            break;
    }
    if (!step.sftp && (step.reply == 452 || step.reply == 552)) {
        return std::string(kServerFull) + ": " + text;
    }
    if (!step.sftp && (step.reply == 550 || step.reply == 553) &&
        step.result == CURLE_UPLOAD_FAILED) {
        return std::string(kNoWritePermission) + " " + step.where + ": " + text;
    }
    return std::string(kTransferFailed) + ": " + text;
}

std::string hostKeyChangedMessage(const std::string& keyType, const std::string& fingerprint) {
    return std::string(kHostKeyChanged) +
           ". Jemand könnte die Verbindung abfangen, oder der Anbieter hat den Server neu "
           "eingerichtet. Es wurde nichts gesendet. Der Server zeigt jetzt den Schlüssel " +
           keyType + " " + fingerprint + ".";
}

std::string certificateMessage(const std::string& reason, const std::string& names,
                               const std::string& serverText) {
    return std::string(kUntrustedCertificate) + ": " + reason +
           ". Ausgestellt für: " + (names.empty() ? "(keine Namen)" : names) + " (" + serverText +
           ")";
}

std::string connectionLostMessage() {
    return std::string(kTransferFailed) + ": Die Verbindung zum Server ist abgebrochen";
}

std::string stalledMessage(long seconds) {
    return std::string(kTimeout) + ": der Server antwortet seit " + std::to_string(seconds) +
           " Sekunden nicht mehr";
}

std::string withheldIfSecret(std::string text, std::initializer_list<const std::string*> secrets) {
    for (const std::string* secret : secrets) {
        if (!secret->empty() && text.find(*secret) != std::string::npos) {
            return "(Antwort des Servers ausgelassen: sie enthält das Passwort)";
        }
    }
    return text;
}

}  // namespace velmora::publish
