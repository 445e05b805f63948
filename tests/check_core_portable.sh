#!/bin/sh
# Fails when a file in a core folder (or below it) includes a header of X11, GTK, GLib,
# POSIX or Windows.
top=$1
bad=$(cd "$top" && grep -rn -E '#include *<(X11/|gtk/|gdk/|glib|gio/|unistd\.h|fcntl\.h|sys/|pthread\.h|dlfcn\.h|dirent\.h|windows\.h)' \
  app recording script settings player ui host service text 2>/dev/null)
if [ -n "$bad" ]; then
  echo "platform headers in the core:"
  echo "$bad"
  exit 1
fi
echo "core includes only portable headers"
