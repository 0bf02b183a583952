#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Serves one update description document on 127.0.0.1 for every GET, whatever the path, so the
program can reach it as its HTTP proxy. Writes the port it listens on to the file given first and
each request line to stderr. Usage: update_document_server.py <port file> <document file>"""
import http.server
import os
import sys

port_file, document_file = sys.argv[1], sys.argv[2]
with open(document_file, "rb") as document:
    body = document.read()


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
# Renamed once complete, so a reader never sees half a number.
with open(port_file + ".part", "w") as out:
    out.write(str(server.server_address[1]))
os.rename(port_file + ".part", port_file)
server.serve_forever()
