from alembic import op


def upgrade():
    ctx = op.get_context()
    ctx = other()
    with ctx.autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix")
