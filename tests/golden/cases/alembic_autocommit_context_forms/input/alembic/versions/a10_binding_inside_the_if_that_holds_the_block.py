from alembic import op


def upgrade():
    if y:
        ctx = op.get_context()
        with ctx.autocommit_block():
            op.execute("REINDEX INDEX CONCURRENTLY ix")
