// The probe's checks, each printing one line per measured behaviour.
#ifndef VTR3_TOOLS_PROBE_PROBE_CHECKS_H
#define VTR3_TOOLS_PROBE_PROBE_CHECKS_H

#include "probe_support.h"

void ProbeSpecular(const Probe& probe);
void ProbeStripIndex(const Probe& probe);
void ProbeDepthBias(const Probe& probe);
void ProbeDepthRange(const Probe& probe);
void ProbeAutogenMips(const Probe& probe);
void ProbeSrgb(const Probe& probe);
void ProbeClears(const Probe& probe);
void ProbeStretchRect(const Probe& probe);
void ProbeValidate(const Probe& probe); // first, on the state the device starts with
void ProbeCalls(const Probe& probe);
void ProbeQueries(const Probe& probe);
void ProbeFog(const Probe& probe);
void ProbeDeclarations(const Probe& probe);
void ProbeResources(const Probe& probe);

#endif
