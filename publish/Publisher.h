// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Putting a page on the user's web space, safely: every file goes up under a
// temporary name beside its place, its size on the server is checked, and
// only then is it renamed over the old one, the page last. A break at any
// moment leaves every file on the server old or new, never cut; the next
// publish finishes the job.
//
//   files ──publish──▶ list folders ─▶ send what changed (NAME.velmora-tmp-ID)
//         ─▶ check sizes ─▶ rename in order, page last ─▶ remove leftovers ─▶ record
//
// Runs on the caller's thread and blocks; the dialog runs it on a worker
// thread. The progress callbacks are called on that thread. Each call makes
// one connection and never a second: where the line breaks, it fails. A
// guard thread of its own ends any wait when the user cancels or nothing
// moves for 30 s (20 s to connect). No call reads or changes the working
// directory.
//
// A failure throws a velmora::Failure with one of Errors.h's messages; an
// unknown host key throws UnknownHostKey, a stop by the user Cancelled.
//
// SFTP replaces a file by deleting the old one and renaming the new one
// (libcurl sends OpenSSH's plain rename, which refuses an existing file, on
// Debian 12 and 13 alike); FTP renames over it in one step where the server
// allows that (vsftpd does), else deletes first too.
#pragma once

#include <vector>

#include "publish/Errors.h"
#include "publish/Record.h"
#include "publish/Values.h"

namespace velmora::publish {

/// Sets up the transfer library (curl_global_init): once, before a second
/// thread publishes; publish and checkConnection call it too. The plugin
/// calls it when it is loaded.
void initializeTransfers();
/// Releases what initializeTransfers set up (curl_global_cleanup): once, at
/// the program's end, when no publish runs any more. Nothing publishes after.
void finishTransfers();

/// "Verbindung prüfen": logs in, creates or opens the folder, writes a probe
/// file, writes a second one under a temporary name, renames that over the
/// first, checks sizes as a publish does, and deletes what it wrote. Passes
/// only where a publish would.
void checkConnection(const Connection& connection, Progress& progress);

/// Puts `files` (pageFiles' order: the page last) below the connection's
/// folder, each at its relative path, with the folders made as needed. Sends
/// a file whose content differs from what `record` says was last put there,
/// whose size on the server differs, or that the server lacks; with
/// `sendEverything` ("Alles neu hochladen") every file. Removes temporary
/// files that an earlier break left in the folders it lists; deletes nothing
/// else but the old files it replaces. Returns only when every file is in
/// place. `record` takes each file as it goes live and is saved before
/// publish returns or throws. One connection serves the whole publish.
Published publish(const Connection& connection, const std::vector<LocalFile>& files, Record& record,
                  bool sendEverything, Progress& progress);

}  // namespace velmora::publish
