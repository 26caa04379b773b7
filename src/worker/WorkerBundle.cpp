#include "worker/WorkerBundle.h"

namespace serwedge::worker {

Catalogue& workerBundle() {
    static Catalogue bundle(QStringLiteral("worker"),
                            QStringLiteral("serwedge.worker.WorkerBundle"),
                            {
                                // reading worker
                                "null.port.error",
                                "port.opened",
                                "parity.error",
                                "framing.error",
                                "stopped",
                                "execution.exception",
                                "interrupted",
                                "unsent.data",
                                "and.error.unusual",
                                "and.error.dataset.not.ready",
                                "and.error.not.connected",
                                "warning",
                                "line.too.long",
                                // journal and MQTT
                                "journal.started",
                                "journal.cannot.write",
                                "journal.written.again",
                                "journal.dropped",
                                "journal.unwritten",
                                "mqtt.not.available",
                                "mqtt.no.host",
                                "mqtt.connected",
                                "mqtt.unreachable",
                                "mqtt.dropped",
                                "mqtt.undelivered",
                                "mqtt.status.connected",
                                "mqtt.status.connecting",
                                "mqtt.status.unreachable",
                                "mqtt.status.not.available",
                                "request.failed",
                                "stable.only.unknown",
                                "instrument.disconnected",
                                "instrument.disconnected.waiting",
                                "instrument.reconnected",
                                // keystroke engine
                                "cannot_type",
                                // key injection of the desktop session
                                "no.key.injection.on.wayland",
                                "allow.remote.input",
                                "remote.input.refused",
                                "remote.input.ended",
                                // port detection
                                "auto.port.detection.started",
                                "testing.port.0",
                                "confidence",
                                "best.port",
                                "could.not.auto.detect.port",
                            });
    return bundle;
}

} // namespace serwedge::worker
