# A throwaway PostgreSQL for the tests, on a free loopback port. Sourced by test.sh.
# pgtest_start exports VANTREL_PG_HOST, VANTREL_PG_PORT, VANTREL_PG_USER, VANTREL_PG_PASSWORD.

pgtest_bin() {
    local dir
    dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
    [ -n "$dir" ] || { echo "PostgreSQL server binaries not found" >&2; return 1; }
    echo "$dir"
}

pgtest_free_port() {
    local port
    for _ in $(seq 1 50); do
        port=$((20000 + RANDOM % 20000))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return 0
        fi
    done
    return 1
}

pgtest_as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

pgtest_start() {
    local bin
    bin=$(pgtest_bin)
    PGTEST_DIR=$(mktemp -d /tmp/vantrel-pg.XXXXXX)
    chmod 755 "$PGTEST_DIR"
    [ "$(id -u)" -eq 0 ] && chown postgres "$PGTEST_DIR"
    export PGTEST_DIR
    export VANTREL_PG_HOST=127.0.0.1
    VANTREL_PG_PORT=$(pgtest_free_port)
    export VANTREL_PG_PORT
    export VANTREL_PG_USER=vantrel_test
    export VANTREL_PG_PASSWORD="pw-$RANDOM$RANDOM"
    echo "$VANTREL_PG_PASSWORD" > "$PGTEST_DIR/pw"
    echo "postgres" > "$PGTEST_DIR/superpw"
    [ "$(id -u)" -eq 0 ] && chown postgres "$PGTEST_DIR/pw" "$PGTEST_DIR/superpw"
    (
        cd "$PGTEST_DIR"
        pgtest_as_owner "$bin/initdb" -D "$PGTEST_DIR/data" -U postgres -E UTF8 --locale=C.UTF-8 \
            --auth-local=trust --auth-host=scram-sha-256 --pwfile="$PGTEST_DIR/superpw" >"$PGTEST_DIR/initdb.log" 2>&1
        pgtest_as_owner "$bin/pg_ctl" -D "$PGTEST_DIR/data" -l "$PGTEST_DIR/server.log" -w \
            -o "-p $VANTREL_PG_PORT -c listen_addresses=127.0.0.1 -k $PGTEST_DIR -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
            start >/dev/null
        pgtest_as_owner psql -h "$PGTEST_DIR" -p "$VANTREL_PG_PORT" -U postgres -q -v ON_ERROR_STOP=1 \
            -c "CREATE ROLE $VANTREL_PG_USER LOGIN SUPERUSER PASSWORD '$VANTREL_PG_PASSWORD'" >/dev/null
    ) || { echo "Could not start the test PostgreSQL; see $PGTEST_DIR" >&2; return 1; }
    echo "Test PostgreSQL on 127.0.0.1:$VANTREL_PG_PORT"
}

pgtest_stop() {
    [ -n "${PGTEST_DIR:-}" ] || return 0
    local bin
    bin=$(pgtest_bin) || return 0
    (cd "$PGTEST_DIR" && pgtest_as_owner "$bin/pg_ctl" -D "$PGTEST_DIR/data" -m immediate stop >/dev/null 2>&1) || true
    rm -rf "$PGTEST_DIR"
}
