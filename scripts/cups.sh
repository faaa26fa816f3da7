# Sourced: a private CUPS server with one print queue that writes every job
# to a file, so that printing can be tested on a real printer. Nothing of the
# system's own CUPS configuration is used or touched: every file lies in DIR,
# and the server listens only on the Unix socket DIR/cups.sock.
#   ondav_start_cups DIR   starts it, exports CUPS_SERVER; jobs land in DIR/jobs/
#   ondav_stop_cups        stops it
ondav_start_cups() {
  local dir=$1 queue=ondavfile i
  ONDAV_CUPS_DIR=$dir
  rm -rf "$dir"
  mkdir -p "$dir"/{etc,spool,tmp,cache,state,log,serverbin/backend,jobs}
  # The backend: with no argument it names its device; otherwise it copies
  # the job (argument 6, or standard input) to a new numbered file.
  cat >"$dir/serverbin/backend/ondavfile" <<'SH'
#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct ondavfile "Unknown" "Ondavis test printer (file)"'; exit 0; fi
out=${DEVICE_URI#ondavfile:}
n=$(ls "$out" | wc -l)
dest=$out/job-$(printf %03d $((n + 1))).ps
if [ -n "$6" ]; then cp "$6" "$dest.part"; else cat >"$dest.part"; fi
mv "$dest.part" "$dest"
SH
  chmod 755 "$dir/serverbin/backend/ondavfile"
  # cupsd drops to User lp to run backends: it must be able to reach them.
  chmod 755 "$dir" "$dir/serverbin" "$dir/serverbin/backend"
  chmod 777 "$dir/jobs" "$dir/tmp"
  # The filters and MIME types CUPS needs are the system's, read-only.
  local sysbin=/usr/lib/cups
  for d in filter daemon cgi-bin notifier monitor; do
    [ -d "$sysbin/$d" ] && ln -s "$sysbin/$d" "$dir/serverbin/$d"
  done
  cat >"$dir/etc/cups-files.conf" <<CONF
User lp
Group lp
SystemGroup root
Sandboxing Relaxed
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
ServerBin $dir/serverbin
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/state/printcap
FileDevice Yes
CONF
  cat >"$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
  cp /usr/share/cups/mime/*.types /usr/share/cups/mime/*.convs "$dir/etc/" 2>/dev/null || true
  /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  ONDAV_CUPSD_PID=$!
  export CUPS_SERVER=$dir/cups.sock
  for i in $(seq 1 100); do
    [ -S "$dir/cups.sock" ] && lpstat -r >/dev/null 2>&1 && break
    sleep 0.1
  done
  lpadmin -p "$queue" -E -v "ondavfile:$dir/jobs" || return 1
  lpadmin -d "$queue" || return 1
  cupsenable "$queue" 2>/dev/null || true
  cupsaccept "$queue" 2>/dev/null || true
}

ondav_stop_cups() {
  [ -n "${ONDAV_CUPSD_PID:-}" ] || return 0
  kill "$ONDAV_CUPSD_PID" 2>/dev/null || true
  wait "$ONDAV_CUPSD_PID" 2>/dev/null || true
  ONDAV_CUPSD_PID=
}
