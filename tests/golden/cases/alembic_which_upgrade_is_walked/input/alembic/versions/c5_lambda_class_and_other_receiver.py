from alembic import op


def upgrade():
    f = lambda: op.drop_table("e")
    class Inner:
        op.drop_table("f")
    sa.op.drop_table("g")
