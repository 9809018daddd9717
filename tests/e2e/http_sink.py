"""A loopback HTTP server for the notification tests: writes its port to DIR/port, then each
request to DIR/requests as "METHOD PATH", its headers, a blank line, the body and "----".
/500 answers 500, anything else 200."""
import http.server
import pathlib
import sys

out = pathlib.Path(sys.argv[1])


class Sink(http.server.BaseHTTPRequestHandler):
    def answer(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0))).decode()
        with (out / "requests").open("a") as requests:
            requests.write(f"{self.command} {self.path}\n{self.headers}\n{body}\n----\n")
        self.send_response(500 if self.path == "/500" else 200)
        self.send_header("Content-Length", "0")
        self.end_headers()

    do_GET = do_POST = answer

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Sink)
(out / "port.new").write_text(str(server.server_address[1]))
(out / "port.new").rename(out / "port")
server.serve_forever()
