# Writes TO: the panel's source FROM with the throttle's green one unit redder, for the build that
# --compare tests set against the module. Run at build time, so that a mutant of FROM (which
# rebuilds only the module) never reaches this copy.
file(READ ${FROM} text)
string(REPLACE "kThrottleColour{60, 210, 80, 255}" "kThrottleColour{61, 210, 80, 255}" changed
               "${text}")
if(changed STREQUAL text)
  message(FATAL_ERROR "${FROM} no longer holds the throttle colour the tests change")
endif()
file(WRITE ${TO} "${changed}")
