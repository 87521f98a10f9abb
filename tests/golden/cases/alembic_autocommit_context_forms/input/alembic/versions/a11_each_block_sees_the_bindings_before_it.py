from alembic import op


def upgrade():
    with ctx.autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix_a")
    ctx = op.get_context()
    with ctx.autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix_b")
    ctx = None
    with ctx.autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix_c")
