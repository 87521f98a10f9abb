from alembic import op


@decorate
def upgrade():
    op.drop_table("b")
