# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""serve_pages.py DIR

Serves DIR on 127.0.0.1 at a free port and prints the port. The first part of
a path names the charset that the Content-Type of an HTML file gives, as web
hosts label pages: /utf-8/NAME.html, /iso-8859-1/NAME.html, or /none/NAME.html
for "text/html" alone. Everything else in the folder (the pictures) is served
beside the page under the same prefix, so relative names resolve as on a host.
"""
import functools
import http.server
import sys

CHARSETS = {"utf-8": "utf-8", "iso-8859-1": "iso-8859-1", "none": None}


class Handler(http.server.SimpleHTTPRequestHandler):
    charset = None

    def translate_path(self, path):
        prefix, _, rest = path.lstrip("/").partition("/")
        if prefix not in CHARSETS:
            return ""  # no such file: 404
        self.charset = CHARSETS[prefix]
        return super().translate_path("/" + rest)

    def guess_type(self, path):
        if str(path).endswith(".html"):
            return "text/html" + (f"; charset={self.charset}" if self.charset else "")
        return super().guess_type(path)

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        sys.stderr.write("%s\n" % (format % args))


def main():
    handler = functools.partial(Handler, directory=sys.argv[1])
    with http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler) as server:
        print(server.server_address[1], flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()
